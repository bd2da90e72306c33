#!/usr/bin/env bash
# Shows the terminal at work with no hardware: builds talvorix.exe and the
# simulated device, maps COM5 of a private Wine prefix (build/wineprefix) to
# the device's pseudo-terminal and starts the terminal under Wine. Connect with
# Shift+Page Up (or 動作 -> 接続): the device plays a short demonstration and
# then echoes what you type. Everything started here ends with the terminal.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

"$root/tools/install-deps.sh"
cmake -S . -B build/win32 -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/win32 --target talvorix -j2
cmake -S . -B build/native -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/native --target talvorix-simdevice -j2

source "$root/tools/wine-prefix.sh" "$root/build/wineprefix"

device_pid=""
xvfb_pid=""
cleanup() {
  [ -n "$device_pid" ] && kill "$device_pid" 2>/dev/null && wait "$device_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  return 0
}
trap cleanup EXIT
trap 'exit 130' INT TERM

if [ -z "${DISPLAY:-}" ]; then
  Xvfb :94 -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  export DISPLAY=:94
  echo "No DISPLAY is set: the terminal runs on a virtual display, Xvfb :94."
  echo "Watch and type into it with a VNC server, for example: x11vnc -display :94"
fi

com5="$WINEPREFIX/dosdevices/com5"
rm -f "$com5"
"$root/build/native/tools/simdevice/talvorix-simdevice" --link "$com5" "$root/tools/simdevice/demo.scenario" >/dev/null &
device_pid=$!
for _ in $(seq 50); do
  [ -e "$com5" ] && break
  sleep 0.1
done
[ -e "$com5" ] || { echo "the simulated device did not start" >&2; exit 1; }

echo "COM5 is the simulated device. Press Shift+Page Up (or 動作 -> 接続) to connect."
echo "The communication log is build/demo/Talvorix.log."
mkdir -p build/demo
(cd build/demo && wine "$root/build/win32/terminal/ui/talvorix.exe")
