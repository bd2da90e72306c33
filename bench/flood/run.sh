#!/usr/bin/env bash
# Flood benchmark of talvorix.exe under Wine: a device on a pseudo-terminal
# mapped to COM5 sends JIS text that scrolls and changes colour while the text
# view is shown; prints the throughput (bytes interpreted and logged per
# second), whether the log holds every byte in order, and the repaint rate.
#
# usage: bench/flood/run.sh [MEGABYTES] [--with-trace] [--rfc2217]   (default 6)
# --with-trace: the flood again in the same run with the trace on
# (動作 → トレース記録), and its throughput beside the first.
# --rfc2217: the terminal reaches the pseudo-terminal through ser2net serving it
# on 127.0.0.1 as an RFC 2217 port (rfc2217://127.0.0.1:PORT on its command line).
# Uses the Windows build that runs on this host (tools/wine-host.sh: build/win32,
# or build/win64 where 32-bit programs do not run or TALVORIX_WINE64=1), built
# here when talvorix.exe is missing, Xvfb display :93 (BENCH_DISPLAY=N takes :N,
# e.g. while a test run holds :93) and the Wine prefix build/flood-wineprefix-ARCH.
set -euo pipefail
cd "$(dirname "$0")/../.."
source tools/wine-host.sh
build_dir=build/$TALVORIX_WINE_ARCH
exe="$build_dir/terminal/ui/talvorix.exe"
if [ ! -x "$exe" ]; then
  cmake -S . -B "$build_dir" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$(talvorix_windows_toolchain "$TALVORIX_WINE_ARCH")" \
    -DCMAKE_BUILD_TYPE=Release
  cmake --build "$build_dir" --target talvorix -j2
fi
source tools/wine-prefix.sh "build/flood-wineprefix-$TALVORIX_WINE_ARCH"
echo "talvorix.exe: $(talvorix_describe_build "$TALVORIX_WINE_ARCH")"
timeout 900 python3 bench/flood/flood.py "$exe" "${BENCH_DISPLAY:-93}" build/flood "${1:-6}" "${@:2}"
