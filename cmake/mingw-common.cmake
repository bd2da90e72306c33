# The settings both Windows builds share: Debian's mingw-w64 tools for the
# processor the including toolchain file names in TALVORIX_MINGW_PROCESSOR.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${TALVORIX_MINGW_PROCESSOR})
set(CMAKE_C_COMPILER ${TALVORIX_MINGW_PROCESSOR}-w64-mingw32-gcc)
set(CMAKE_CXX_COMPILER ${TALVORIX_MINGW_PROCESSOR}-w64-mingw32-g++)
set(CMAKE_RC_COMPILER ${TALVORIX_MINGW_PROCESSOR}-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${TALVORIX_MINGW_PROCESSOR}-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# No mingw runtime DLL next to the programs: everything is linked in.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
