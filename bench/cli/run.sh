#!/usr/bin/env bash
# talvorix-cli's figures, natively against a device on a pseudo-terminal:
#   - the latency of expect: from the last byte of an expected line written to
#     the pseudo-terminal to the tool's next line arriving (expect_latency),
#     for a text and a pattern, while the screen fills and while it scrolls;
#   - a flood at 3 Mbit/s (300,000 bytes a second) with every byte logged:
#     whether the tool keeps up, and the processor time it takes;
#   - a flood as fast as the pseudo-terminal takes it: bytes interpreted and
#     logged a second.
# Each flood checks that the log holds every byte in order. Each figure is
# measured twice: on the pseudo-terminal itself, then through ser2net serving
# it on 127.0.0.1 as an RFC 2217 port (rfc2217://), and the time the tool
# takes to be back after ser2net restarts (bench/cli/server_return.py).
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

free_port() { python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'; }

"$build/bench/cli/expect_latency" "$cli" 1000
"$build/bench/cli/expect_latency" "$cli" 1000 --pattern
"$build/bench/cli/expect_latency" "$cli" 1000 --rfc2217 "$(free_port)"
"$build/bench/cli/expect_latency" "$cli" 1000 --pattern --rfc2217 "$(free_port)"

# serve PTY: ser2net serving the pseudo-terminal as an RFC 2217 port; prints the
# port's name once it listens.
serve() {
  rm -f "$work/address"
  python3 tests/ui/ser2net_server.py "$1" >"$work/address" &
  echo $! >"$work/ser2net.pid"
  while [ ! -s "$work/address" ]; do kill -0 "$(cat "$work/ser2net.pid")" || return 1; sleep 0.01; done
  cat "$work/address"
}

# flood BYTES RATE [rfc2217]: the device floods, then sends an end line the
# script waits for; with rfc2217 the tool reaches it through ser2net.
flood() {
  local bytes=$1 rate=$2 via=${3:-pty} pattern="ＡＢＣＤＥＦＧＨＩＪＫＬＭＮＯＰＱＲＳＴＵＶＷＸＹＺ０１２３４５６７８９"
  printf 'wait-open\nflood %s %s %s\nline 終わり\nwait-close\n' "$bytes" "$rate" "$pattern" >"$work/device.scenario"
  printf 'expect 終わり within 600000\n' >"$work/flood.script"
  rm -f "$work/Talvorix.log"
  "$build/simdevice/talvorix-simdevice" --link "$work/tty" --settle 100 "$work/device.scenario" >/dev/null &
  local device=$!
  while [ ! -L "$work/tty" ]; do sleep 0.01; done
  local port="$work/tty"
  rm -f "$work/ser2net.pid"
  [ "$via" = rfc2217 ] && port=$(serve "$work/tty")
  /usr/bin/time -f '%e %U %S' -o "$work/time" "$cli" --port "$port" --log "$work/Talvorix.log" "$work/flood.script"
  kill "$device" 2>/dev/null || true
  wait "$device" 2>/dev/null || true
  if [ -f "$work/ser2net.pid" ]; then kill "$(cat "$work/ser2net.pid")"; wait "$(cat "$work/ser2net.pid")" 2>/dev/null || true; fi
  python3 - "$work/Talvorix.log" "$bytes" "$pattern" "$rate" "$via" $(cat "$work/time") <<'PYTHON'
import sys
log, count, pattern, rate, via = sys.argv[1], int(sys.argv[2]), sys.argv[3], int(sys.argv[4]), sys.argv[5]
elapsed, user, system = (float(v) for v in sys.argv[6:9])
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
print("flood of %d bytes %s, %s: %.2f s, %.0f bytes/s interpreted and logged, processor %.0f%% (user %.2f s, system %.2f s); log %s"
      % (count, what, "through rfc2217" if via == "rfc2217" else "on the pseudo-terminal", elapsed, len(sent) / elapsed, busy, user, system,
         "holds every byte in order" if intact else "DIFFERS from what was sent"))
sys.exit(0 if intact else 1)
PYTHON
}

flood $((300000 * seconds)) 300000
flood $((300000 * seconds)) 300000 rfc2217
flood 20000000 0
flood 20000000 0 rfc2217
python3 bench/cli/server_return.py "$cli" "$build/simdevice/talvorix-simdevice" "$work" 20
