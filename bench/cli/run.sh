#!/usr/bin/env bash
# talvorix-cli's figures, natively against a device on a pseudo-terminal:
#   - the latency of expect: from the last byte of an expected line written to
#     the pseudo-terminal to the tool's next line arriving (expect_latency),
#     for a text and a pattern, while the screen fills and while it scrolls;
#   - a flood at 3 Mbit/s (300,000 bytes a second) with every byte logged:
#     whether the tool keeps up, and the processor time it takes;
#   - a flood as fast as the pseudo-terminal takes it: bytes interpreted and
#     logged a second.
# Each flood checks that the log holds every byte in order.
#
# usage: bench/cli/run.sh [SECONDS]   (of the 3 Mbit/s flood; default 10)
set -euo pipefail
cd "$(dirname "$0")/../.."
seconds=${1:-10}
build=build/native
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target talvorix-cli talvorix-simdevice expect_latency -j2 >/dev/null
cli=$build/cli/talvorix-cli
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$build/bench/cli/expect_latency" "$cli" 1000
"$build/bench/cli/expect_latency" "$cli" 1000 --pattern

# flood BYTES RATE: the device floods, then sends an end line the script waits for.
flood() {
  local bytes=$1 rate=$2 pattern="ＡＢＣＤＥＦＧＨＩＪＫＬＭＮＯＰＱＲＳＴＵＶＷＸＹＺ０１２３４５６７８９"
  printf 'wait-open\nflood %s %s %s\nline 終わり\nwait-close\n' "$bytes" "$rate" "$pattern" >"$work/device.scenario"
  printf 'expect 終わり within 600000\n' >"$work/flood.script"
  rm -f "$work/Talvorix.log"
  "$build/simdevice/talvorix-simdevice" --link "$work/tty" --settle 100 "$work/device.scenario" >/dev/null &
  local device=$!
  while [ ! -L "$work/tty" ]; do sleep 0.01; done
  /usr/bin/time -f '%e %U %S' -o "$work/time" "$cli" --port "$work/tty" --log "$work/Talvorix.log" "$work/flood.script"
  kill "$device" 2>/dev/null || true
  wait "$device" 2>/dev/null || true
  python3 - "$work/Talvorix.log" "$bytes" "$pattern" "$rate" $(cat "$work/time") <<'PYTHON'
import sys
log, count, pattern, rate = sys.argv[1], int(sys.argv[2]), sys.argv[3], int(sys.argv[4])
elapsed, user, system = (float(v) for v in sys.argv[5:8])
def words(text):
    return b"".join(int.from_bytes(c.encode("iso2022_jp")[3:5], "big").to_bytes(2, "little") for c in text)
flood = (words(pattern) * (count // (2 * len(pattern)) + 1))[:count]
sent = flood + words("終わり") + b"\r\x00\n\x00"
data = open(log, "rb").read()
header, stamp = 86, 85
logged = data[header + stamp:len(data) - stamp]
intact = logged == sent and len(data) == header + 2 * stamp + len(sent)
busy = (user + system) / elapsed * 100
what = "as fast as the pseudo-terminal takes it" if rate == 0 else "at %d bytes/s (%.1f Mbit/s)" % (rate, rate * 10 / 1e6)
print("flood of %d bytes %s: %.2f s, %.0f bytes/s interpreted and logged, processor %.0f%% (user %.2f s, system %.2f s); log %s"
      % (count, what, elapsed, len(sent) / elapsed, busy, user, system,
         "holds every byte in order" if intact else "DIFFERS from what was sent"))
sys.exit(0 if intact else 1)
PYTHON
}

flood $((300000 * seconds)) 300000
flood 20000000 0
