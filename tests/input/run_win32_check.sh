#!/usr/bin/env bash
# Runs the Windows input check program under Wine on a display of its own.
# Usage: run_win32_check.sh PROGRAM.exe   (WINEPREFIX etc. come from the environment)
set -u
program=${1:?usage: run_win32_check.sh PROGRAM.exe}
display=:61
Xvfb "$display" -screen 0 800x600x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null; wait "$xvfb" 2>/dev/null' EXIT
for _ in $(seq 50); do
  [ -e "/tmp/.X11-unix/X${display#:}" ] && break
  sleep 0.1
done
DISPLAY=$display timeout 120 "${TALVORIX_WINE:?the Wine loader (tools/wine-prefix.sh)}" "$program"
