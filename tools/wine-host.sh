# Decides how the Windows programs run on this host; every script that runs one
# sources this file (tools/test.sh, tools/run-demo.sh, the Wine prefix, the
# benchmarks).
#
# Where Wine's 32-bit loader starts, the 32-bit build (i686, the product) runs
# under it in a 32-bit prefix. Some hosts do not run 32-bit programs at all
# (a kernel built or booted without ia32 emulation, or a virtual machine that
# refuses it): there the 64-bit build (x86-64) runs under wine64 in a 64-bit
# prefix. TALVORIX_WINE64=1 takes the 64-bit path on any host, so that a host
# with 32-bit support can run everything as a 64-bit-only host does.
#
# Debian's /usr/bin/wine is never used: it picks the 32-bit loader whenever
# that file is installed, whether the host can run it or not.
#
# Sets TALVORIX_HOST_RUNS_32BIT (1 or 0) and TALVORIX_WINE_ARCH (win32 or
# win64: the build that runs here), and defines the helpers below.

talvorix_wine_loader() {  # ARCH: the Wine loader for programs of that build
  case "$1" in
    win32) echo /usr/lib/wine/wine ;;
    win64) echo /usr/lib/wine/wine64 ;;
    *) echo "unknown Windows build '$1' (win32 or win64)" >&2; return 1 ;;
  esac
}

talvorix_windows_toolchain() {  # ARCH: the CMake toolchain file of that build
  case "$1" in
    win32) echo cmake/mingw-i686.cmake ;;
    win64) echo cmake/mingw-x86_64.cmake ;;
    *) echo "unknown Windows build '$1' (win32 or win64)" >&2; return 1 ;;
  esac
}

talvorix_describe_build() {  # ARCH: a phrase for messages
  case "$1" in
    win32) echo "the 32-bit build (i686, Wine's 32-bit loader)" ;;
    win64) echo "the 64-bit build (x86-64, wine64)" ;;
  esac
}

if [ -x /usr/lib/wine/wine ] && /usr/lib/wine/wine --version >/dev/null 2>&1; then
  TALVORIX_HOST_RUNS_32BIT=1
else
  TALVORIX_HOST_RUNS_32BIT=0
fi
if [ "${TALVORIX_WINE64:-0}" = 1 ] || [ "$TALVORIX_HOST_RUNS_32BIT" = 0 ]; then
  TALVORIX_WINE_ARCH=win64
else
  TALVORIX_WINE_ARCH=win32
fi
export TALVORIX_HOST_RUNS_32BIT TALVORIX_WINE_ARCH
