# Cross-compiles the Windows programs as 64-bit executables (for 64-bit Windows) with Debian's mingw-w64.
set(TALVORIX_MINGW_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
