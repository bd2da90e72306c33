# Tests that run the Windows programs under Wine.
#
# tools/test.sh says which Windows builds run on this host (tools/wine-host.sh):
#   TALVORIX_WINE_FULL    win32 or win64: the build that runs every Wine test
#   TALVORIX_WINE_SUBSET  win64 where the host runs both builds: the build that
#                         also runs the tests marked SUBSET (empty otherwise)
# and, for each of them, TALVORIX_<ARCH>_BUILD_DIR (the Windows build tree),
# TALVORIX_<ARCH>_WINEPREFIX and TALVORIX_<ARCH>_WINE (the Wine loader).
# Without TALVORIX_WINE_FULL no Wine test is added.

set(TALVORIX_WINE_FULL "" CACHE STRING "Windows build that runs every Wine test (win32 or win64)")
set(TALVORIX_WINE_SUBSET "" CACHE STRING "Windows build that runs the SUBSET Wine tests too")
foreach(arch WIN32 WIN64)
  set(TALVORIX_${arch}_BUILD_DIR "" CACHE PATH "The ${arch} Windows build tree")
  set(TALVORIX_${arch}_WINEPREFIX "" CACHE PATH "The Wine prefix for the ${arch} build")
  set(TALVORIX_${arch}_WINE "" CACHE FILEPATH "The Wine loader for the ${arch} build")
endforeach()

# talvorix_wine_test(NAME name [SUBSET] COMMAND args... [PROPERTIES props...])
# Adds the test for the full build and, with SUBSET, for the subset build as
# name_win64. In COMMAND, @WINDOWS_BUILD_DIR@ stands for the build tree and
# @WINE@ for the loader; scripts find the loader in TALVORIX_WINE and the
# prefix in WINEPREFIX. The test is labelled wine and wine-ARCH.
# Wine tests run one at a time (the lock talvorix_wine), each beside the native
# tests, so that ctest -j is safe: they share Xvfb display numbers across the
# two builds, and one prefix, so one wineserver, whose default desktop keeps
# the display of the first program started there.
function(talvorix_wine_test)
  cmake_parse_arguments(PARSE_ARGV 0 wine "SUBSET" "NAME" "COMMAND;PROPERTIES")
  if(NOT TALVORIX_WINE_FULL)
    return()
  endif()
  _talvorix_add_wine_test(${TALVORIX_WINE_FULL} ${wine_NAME})
  if(wine_SUBSET AND TALVORIX_WINE_SUBSET)
    _talvorix_add_wine_test(${TALVORIX_WINE_SUBSET} ${wine_NAME}_${TALVORIX_WINE_SUBSET})
  endif()
endfunction()

function(_talvorix_add_wine_test arch name)
  string(TOUPPER ${arch} upper)
  set(loader ${TALVORIX_${upper}_WINE})
  string(REPLACE "@WINDOWS_BUILD_DIR@" "${TALVORIX_${upper}_BUILD_DIR}" command "${wine_COMMAND}")
  string(REPLACE "@WINE@" "${loader}" command "${command}")
  add_test(NAME ${name} COMMAND ${command})
  set_tests_properties(${name} PROPERTIES ${wine_PROPERTIES})
  set_tests_properties(${name} PROPERTIES
    LABELS "wine;wine-${arch}"
    RESOURCE_LOCK talvorix_wine
    ENVIRONMENT "WINEPREFIX=${TALVORIX_${upper}_WINEPREFIX};WINEARCH=${arch};WINEDEBUG=-all;WINELOADER=${loader};TALVORIX_WINE=${loader}")
endfunction()
