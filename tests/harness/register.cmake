# Registers the Windows unit tests and the end-to-end scenarios with ctest (host tree only).
set(TESSALY_BUILD_ROOT "${CMAKE_BINARY_DIR}/.." CACHE PATH "The folder holding the Windows trees win and win64")
set(TESSALY_PYTHON /usr/bin/python3)
set(harness ${CMAKE_CURRENT_LIST_DIR})

# Which Windows tree the Windows tiers run is decided once per configuration, by trying whether this
# machine starts 32-bit programs (TESSALY_ARCH=x86 or x64 forces it, also later at ctest time).
execute_process(COMMAND ${TESSALY_PYTHON} ${harness}/winenv.py arch
                OUTPUT_VARIABLE TESSALY_CONFIGURED_ARCH OUTPUT_STRIP_TRAILING_WHITESPACE
                COMMAND_ERROR_IS_FATAL ANY)
message(STATUS "Windows tests run the ${TESSALY_CONFIGURED_ARCH} tree")
set(test_env "TESSALY_BUILD_ROOT=${TESSALY_BUILD_ROOT};TESSALY_CONFIGURED_ARCH=${TESSALY_CONFIGURED_ARCH};TESSALY_WORK=${CMAKE_BINARY_DIR}/testruns")

add_test(NAME wine.template COMMAND ${TESSALY_PYTHON} ${harness}/winenv.py make-template)
set_tests_properties(wine.template PROPERTIES FIXTURES_SETUP wine ENVIRONMENT "${test_env}" TIMEOUT 600)

add_test(NAME package.binaries_import_only_system_libraries
         COMMAND ${TESSALY_PYTHON} ${harness}/check_binaries.py)
set_tests_properties(package.binaries_import_only_system_libraries PROPERTIES ENVIRONMENT "${test_env}")

# The packages a user downloads (installer/make_dist.py, also `make dist`), built by the test run
# itself so they keep working; the install scenarios use them.
add_test(NAME package.dist COMMAND ${TESSALY_PYTHON} ${CMAKE_SOURCE_DIR}/installer/make_dist.py ${TESSALY_BUILD_ROOT})
set_tests_properties(package.dist PROPERTIES FIXTURES_SETUP dist TIMEOUT 300)
add_test(NAME package.version_resources_and_contents COMMAND ${TESSALY_PYTHON} ${harness}/check_package.py)
set_tests_properties(package.version_resources_and_contents PROPERTIES FIXTURES_REQUIRED dist
                     ENVIRONMENT "${test_env}")

file(GLOB win_tests CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/win/*_test.cpp)
foreach(src ${win_tests})
  get_filename_component(name ${src} NAME_WE)
  add_test(NAME win.${name} COMMAND ${TESSALY_PYTHON} ${harness}/winenv.py win-test ${name})
  set_tests_properties(win.${name} PROPERTIES FIXTURES_REQUIRED wine ENVIRONMENT "${test_env}" TIMEOUT 600)
endforeach()

# One ctest test per `def scenario_*` function in tests/e2e/scenarios/<file>.py.
file(GLOB scenario_files CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/scenarios/*.py)
foreach(file ${scenario_files})
  get_filename_component(group ${file} NAME_WE)
  file(STRINGS ${file} defs REGEX "^def scenario_[a-z0-9_]+")
  foreach(def ${defs})
    string(REGEX REPLACE "^def scenario_([a-z0-9_]+).*" "\\1" scenario "${def}")
    add_test(NAME e2e.${group}.${scenario}
             COMMAND ${TESSALY_PYTHON} ${CMAKE_SOURCE_DIR}/tests/e2e/run.py ${group} ${scenario})
    set(fixtures wine)
    if(group STREQUAL "install")
      list(APPEND fixtures dist)  # the scenarios run the installers
    endif()
    # Exit code 77: the machine lacks what the scenario needs (ctest reports it as skipped).
    set_tests_properties(e2e.${group}.${scenario} PROPERTIES FIXTURES_REQUIRED "${fixtures}"
                         ENVIRONMENT "${test_env}" TIMEOUT 300 SKIP_RETURN_CODE 77)
  endforeach()
endforeach()
