# Helpers shared by the subsystem folders.

# A library of platform-free code: built in both trees, unit-tested natively, and available to the
# Windows binaries and Windows tests. Its sources must never include <windows.h>.
function(tessaly_core_library name)
  add_library(${name} STATIC ${ARGN})
  set_property(GLOBAL APPEND PROPERTY TESSALY_CORE_LIBS ${name})
  set_property(GLOBAL APPEND PROPERTY TESSALY_WIN_TEST_LIBS ${name})
endfunction()

# A library of Windows code of the program, linked into Tessaly.exe and offered to the Windows tests.
function(tessaly_win_library name)
  add_library(${name} STATIC ${ARGN})
  set_property(GLOBAL APPEND PROPERTY TESSALY_WIN_TEST_LIBS ${name})
endfunction()
