#!/usr/bin/env bash
# Shows the terminal at work with no hardware: builds talvorix.exe and the
# simulated device, maps COM5 of a private Wine prefix (build/wineprefix-ARCH)
# to the device's pseudo-terminal and starts the terminal under Wine. The
# Windows build is the one that runs on this host (tools/wine-host.sh): the
# 32-bit one, or the 64-bit one under wine64 where 32-bit programs do not run.
#
# With a DISPLAY: connect with Shift+Page Up (or 動作 -> 接続); the device plays
# a short demonstration and then echoes what you type.
# Without one: Xvfb :94 is started, the terminal connects by itself, the
# demonstration plays, pictures of the three views are saved in build/demo/
# (text.png, graphic.png, dump.png), and the terminal keeps running for a VNC
# viewer until Ctrl+C.
# Everything started here ends with the terminal.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

"$root/tools/install-deps.sh"
source "$root/tools/wine-host.sh"
arch=$TALVORIX_WINE_ARCH
exe="$root/build/$arch/terminal/ui/talvorix.exe"
cmake -S . -B "build/$arch" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$(talvorix_windows_toolchain "$arch")" \
  -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "build/$arch" --target talvorix -j2
cmake -S . -B build/native -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/native --target talvorix-simdevice -j2
simdevice="$root/build/native/simdevice/talvorix-simdevice"

source "$root/tools/wine-prefix.sh" "$root/build/wineprefix-$arch"
echo "talvorix.exe: $(talvorix_describe_build "$arch")"
mkdir -p build/demo

if [ -z "${DISPLAY:-}" ]; then
  echo "No DISPLAY is set: the terminal runs on a virtual display, Xvfb :94, and connects by itself."
  exec python3 "$root/tools/demo_session.py" --stay "$exe" "$simdevice" 94 "$root/build/demo" "$root/build/demo"
fi

device_pid=""
cleanup() {
  [ -n "$device_pid" ] && kill "$device_pid" 2>/dev/null && wait "$device_pid" 2>/dev/null
  return 0
}
trap cleanup EXIT
trap 'exit 130' INT TERM

com5="$WINEPREFIX/dosdevices/com5"
rm -f "$com5"
"$simdevice" --link "$com5" "$root/simdevice/demo.scenario" >/dev/null &
device_pid=$!
for _ in $(seq 50); do
  [ -e "$com5" ] && break
  sleep 0.1
done
[ -e "$com5" ] || { echo "the simulated device did not start" >&2; exit 1; }

echo "COM5 is the simulated device. Press Shift+Page Up (or 動作 -> 接続) to connect."
echo "The communication log is build/demo/Talvorix.log."
(cd build/demo && "$TALVORIX_WINE" "$exe")
