# Cross-compiles the Windows programs as 32-bit executables with Debian's mingw-w64.
set(TALVORIX_MINGW_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
