#!/usr/bin/env bash
# Throughput of the serial link under Wine: the simulated device floods a
# pseudo-terminal mapped to COM18 of a private prefix, and the link test
# driver (real link and log, an interpreter that only records) reads it.
# Prints, for a flood as fast as the line takes it and one at the top line
# rate (300000 bytes per second), the bytes read per second, the number of
# repaints, and how long closing took while the device was still sending.
#
# usage: bench/link/run.sh [BYTES]   (default 3000000)
# Uses the Windows build that runs on this host (tools/wine-host.sh) in
# build/link-ARCH, the native build build/link-native, Xvfb :73 and the prefix
# build/link-wineprefix-ARCH.
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$PWD
bytes=${1:-3000000}
source tools/wine-host.sh
windows=build/link-$TALVORIX_WINE_ARCH
cmake -S . -B "$windows" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$(talvorix_windows_toolchain "$TALVORIX_WINE_ARCH")" \
  -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$windows" --target link-driver -j2 >/dev/null
cmake -S . -B build/link-native -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/link-native --target talvorix-simdevice -j2 >/dev/null
source tools/wine-prefix.sh "build/link-wineprefix-$TALVORIX_WINE_ARCH"
echo "link-driver.exe: $(talvorix_describe_build "$TALVORIX_WINE_ARCH")"

work=$(mktemp -d)
Xvfb :73 -screen 0 640x480x24 >/dev/null 2>&1 &
xvfb=$!
device=""
cleanup() {
  [ -n "$device" ] && kill "$device" 2>/dev/null && wait "$device" 2>/dev/null
  WINEPREFIX="$WINEPREFIX" wineserver -w
  kill "$xvfb" 2>/dev/null && wait "$xvfb" 2>/dev/null
  rm -rf "$work"
  return 0
}
trap cleanup EXIT
sleep 0.7

run() {  # run RATE
  local rate=$1
  printf 'flood %s %s\nflood 100000000 %s\n' "$bytes" "$rate" "$rate" > "$work/flood.txt"
  build/link-native/simdevice/talvorix-simdevice --link "$WINEPREFIX/dosdevices/com18" \
    --settle 200 "$work/flood.txt" >/dev/null &
  device=$!
  sleep 0.3
  local out
  out=$(cd "$work" && DISPLAY=:73 timeout 300 "$TALVORIX_WINE" "$root/$windows/terminal/link/link-driver.exe" \
    port 18 log open until "$bytes" 120000 report close 2>/dev/null | tr -d '\r')
  kill "$device" 2>/dev/null || true
  wait "$device" 2>/dev/null || true
  device=""
  local got ms paints close
  got=$(sed -n 's/^until \([0-9]*\) ms.*/\1/p' <<<"$out")
  ms=$(sed -n 's/^until [0-9]* ms \([0-9]*\)/\1/p' <<<"$out")
  paints=$(sed -n 's/^paints \([0-9]*\).*/\1/p' <<<"$out")
  close=$(sed -n 's/^close [01] ms \([0-9]*\)/\1/p' <<<"$out")
  echo "rate ${rate:-0} B/s requested: $got bytes in $ms ms = $((got * 1000 / (ms > 0 ? ms : 1))) B/s," \
       "$paints repaints ($((paints * 1000 / (ms > 0 ? ms : 1)))/s), close during the flood $close ms"
}

run 0
run 300000
