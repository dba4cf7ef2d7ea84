# Image files written by the reference tools, beside the test that opens them: the harness copies
# tests/<test>.data/* next to the test's executable.
set(reference_images ${CMAKE_BINARY_DIR}/tests/open_image_file_test.data)
add_custom_command(OUTPUT ${reference_images}/.made
  COMMAND sh ${CMAKE_CURRENT_LIST_DIR}/make_reference_images.sh ${reference_images}
  DEPENDS ${CMAKE_CURRENT_LIST_DIR}/make_reference_images.sh)
add_custom_target(reference_images ALL DEPENDS ${reference_images}/.made)
