#!/usr/bin/env bash
# Runs the same conversions with the native orvik and with orvik.exe under Wine
# and compares exit codes, console texts (line ends aside: the Windows console
# writes CR LF) and every output file byte for byte.
# Usage: wine_compare.sh NATIVE_ORVIK WINDOWS_ORVIK_EXE
set -u
# Never fall back on the user's own prefix.
: "${WINEPREFIX:?set WINEPREFIX to a prefix made by tools/wine-prefix.sh}"
wine=${TALVORIX_WINE:?set TALVORIX_WINE to the Wine loader (tools/wine-prefix.sh)}
export WINEDEBUG=-all
native=$(realpath "$1")
windows=$(realpath "$2")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
failures=0

# Makes the inputs every case reads.
prepare() {
  head -c 65537 /dev/urandom > image.bin
  head -c 16385 /dev/urandom > big.bin
  printf ':020000021000EC\n:04000000deadbeef00\r\n:00000001FF\r\n:0100100055AA\x1a:01001100AA00\r\n' > lenient.hex
  printf ':0100000011EE\r\n:0140010076\r\n' > beyond.hex
  # Extended linear address records: page 1, a segment taking over, a base of 2^32.
  printf ':020000040001F9\r\n:02000000A1B2AB\r\n:01000200C33A\r\n:020000020100FB\r\n:01000400C03B\r\n' > linear.hex
  printf ':02000004G00000\r\n:0100000011EE\r\n' > linear-wrap.hex
  # A record of 255 data bytes, a line of 521 characters.
  printf ':FF000000%sAB\r\n' "$(printf 'A5%.0s' $(seq 255))" > long.hex
  ln image.bin image-link.bin
}

# run_case NAME ARGS... : runs both programs in fresh directories and compares.
run_case() {
  local name=$1
  shift
  local side
  for side in native windows; do
    rm -rf "$side" && mkdir "$side" && cp -a ./*.bin ./*.hex "$side"/ 2>/dev/null
  done
  (cd native && "$native" "$@" > ../native.out; echo $? > ../native.rc)
  (cd windows && timeout 60 "$wine" "$windows" "$@" > ../windows.raw; echo $? > ../windows.rc)
  sed 's/\r$//' windows.raw > windows.out
  if ! cmp -s native.rc windows.rc; then
    echo "FAIL $name: exit code native $(cat native.rc) windows $(cat windows.rc)"
    failures=$((failures + 1))
  fi
  if ! cmp -s native.out windows.out; then
    echo "FAIL $name: console texts differ"
    diff native.out windows.out | head -20
    failures=$((failures + 1))
  fi
  if ! diff -r native windows > /dev/null; then
    echo "FAIL $name: output files differ"
    failures=$((failures + 1))
  fi
  echo "case $name: exit $(cat native.rc)"
}

prepare
run_case to-hex -h image.bin image.hex 128k
cp native/image.hex image.hex
run_case to-bin -b image.hex back.bin 128k
run_case lenient-reader -B lenient.hex lenient.bin 128k
run_case long-record -b long.hex long.bin 16k
run_case output-is-input -h image.bin image.bin 128k
run_case output-is-hard-link -h image.bin image-link.bin 128k
run_case address-error -b beyond.hex beyond.bin 16k
run_case linear-base -b linear.hex linear.bin 128k
run_case linear-beyond-rom -b linear.hex linear.bin 64k
run_case linear-no-wrap -b linear-wrap.hex linear-wrap.bin 1024k
run_case size-error -H big.bin big.hex 16k
run_case flag-error --h image.bin x.hex 16k
run_case usage -h image.bin x.hex
run_case missing-input -h absent.bin x.hex 16k
run_case directory-input -b . x.bin 16k
run_case too-long -h image.bin "$(printf 'n%.0s' $(seq 256))" 16k

if [ "$failures" -ne 0 ]; then
  echo "$failures differences"
  exit 1
fi
echo "native and Windows runs agree"
