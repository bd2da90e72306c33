#!/usr/bin/env bash
# Automatic reconnect under Wine: the simulated device is unplugged and plugged
# back a second later, CYCLES times (default 20), and sends its boot banner the
# instant the line is configured; prints the time from the device's return to
# the port open and configured (minimum, median, maximum).
#
# With --rfc2217 the terminal reaches the device through ser2net serving its
# pseudo-terminal on 127.0.0.1 as an RFC 2217 port, and ser2net is what goes
# away and comes back; the time runs from ser2net listening again to the
# terminal's start stamp in the log.
#
# usage: bench/reconnect/run.sh [CYCLES] [--rfc2217]
# Uses the Windows build that runs on this host (tools/wine-host.sh: build/win32,
# or build/win64 where 32-bit programs do not run or TALVORIX_WINE64=1), the
# native build build/native for the simulated device, Xvfb display :75
# (BENCH_DISPLAY=N takes :N) and the Wine prefix build/reconnect-wineprefix-ARCH.
set -euo pipefail
cd "$(dirname "$0")/../.."
source tools/wine-host.sh
build_dir=build/$TALVORIX_WINE_ARCH
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$(talvorix_windows_toolchain "$TALVORIX_WINE_ARCH")" \
  -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build_dir" --target talvorix -j2 >/dev/null
cmake -S . -B build/native -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/native --target talvorix-simdevice -j2 >/dev/null
source tools/wine-prefix.sh "build/reconnect-wineprefix-$TALVORIX_WINE_ARCH"
echo "talvorix.exe: $(talvorix_describe_build "$TALVORIX_WINE_ARCH")"
status=0
timeout 600 python3 bench/reconnect/reconnect_bench.py "$build_dir/terminal/ui/talvorix.exe" \
  build/native/simdevice/talvorix-simdevice "${BENCH_DISPLAY:-75}" build/reconnect "${1:-20}" "${@:2}" || status=$?
WINEPREFIX="$WINEPREFIX" wineserver -k 2>/dev/null || true
exit $status
