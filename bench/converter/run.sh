#!/usr/bin/env bash
# Times orvik against srec_cat and objcopy on one 1 MiB random image, both ways,
# best of several runs each, and prints how many times faster orvik is than the
# fastest of the other two.
# Usage: bench/converter/run.sh [PATH_TO_ORVIK] [RUNS]
# Without a path, orvik is built in build/bench-converter.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
orvik=${1:-}
runs=${2:-9}
if [ -z "$orvik" ]; then
  cmake -S "$root" -B "$root/build/bench-converter" -G Ninja -DCMAKE_BUILD_TYPE=Release > /dev/null
  cmake --build "$root/build/bench-converter" --target orvik -j2 > /dev/null
  orvik=$root/build/bench-converter/converter/orvik
fi
orvik=$(realpath "$orvik")
for tool in srec_cat objcopy; do
  command -v "$tool" > /dev/null || { echo "$tool is missing (packages srecord, binutils)"; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
head -c 1048576 /dev/urandom > image.bin
"$orvik" -h image.bin image.hex 1024k > /dev/null

# best_ms COMMAND... : the shortest wall time of $runs runs, in milliseconds.
# The clock is the shell's own, so no helper process is timed with the command.
best_ms() {
  local best= start end elapsed
  for _ in $(seq "$runs"); do
    start=${EPOCHREALTIME/[.,]/}
    "$@" > /dev/null 2>&1
    end=${EPOCHREALTIME/[.,]/}
    elapsed=$((end - start))
    if [ -z "$best" ] || [ "$elapsed" -lt "$best" ]; then best=$elapsed; fi
  done
  awk -v us="$best" 'BEGIN { printf "%.2f", us / 1000 }'
}

# compare DIRECTION ORVIK_MS SREC_MS OBJCOPY_MS
compare() {
  awk -v dir="$1" -v o="$2" -v s="$3" -v b="$4" 'BEGIN {
    fastest = s < b ? s : b
    printf "%-12s orvik %8.2f ms   srec_cat %8.2f ms   objcopy %8.2f ms   fastest other / orvik = %.2f\n",
           dir, o, s, b, fastest / o
  }'
}

o=$(best_ms "$orvik" -h image.bin o.hex 1024k)
s=$(best_ms srec_cat image.bin -binary -o s.hex -intel -address-length=3 -obs=32 -line-termination=crlf)
b=$(best_ms objcopy -I binary -O ihex image.bin b.hex)
cmp -s o.hex s.hex || echo "warning: orvik and srec_cat wrote different HEX files"
compare "bin -> HEX" "$o" "$s" "$b"

o=$(best_ms "$orvik" -b image.hex o.bin 1024k)
s=$(best_ms srec_cat image.hex -intel -o s.bin -binary)
b=$(best_ms objcopy -I ihex -O binary image.hex b.bin)
cmp -s o.bin image.bin || echo "warning: orvik did not read back the image"
compare "HEX -> bin" "$o" "$s" "$b"
echo "(best of $runs runs each, 1 MiB random image)"
