#!/usr/bin/env bash
# Runs every test of the project: installs what is missing, builds the Windows
# programs (mingw-w64, i686) and the native tree, then runs
#   - the native tests, including those that run the Windows programs under Wine,
#   - the same native tests built with AddressSanitizer and UBSan,
#   - short libFuzzer runs of the HEX reader and the receive interpreter.
# Ends with one line "tests: N passed, M failed" and exits non-zero on any failure.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$PWD
jobs=${JOBS:-$(nproc)}

"$root/tools/install-deps.sh" || { echo "installing the build tools failed" >&2; exit 1; }

passed=0
failed=0
# ctest prints "N% tests passed, M tests failed out of T"; add its figures up.
run_ctest() {
  local dir=$1; shift
  local log
  log=$(mktemp)
  (cd "$dir" && ctest --output-on-failure --timeout 900 "$@") 2>&1 | tee "$log"
  local line total bad
  line=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1)
  if [ -n "$line" ]; then
    total=$(sed -E 's/.*out of ([0-9]+).*/\1/' <<<"$line")
    bad=$(sed -E 's/.*passed, ([0-9]+) tests? failed.*/\1/' <<<"$line")
    passed=$((passed + total - bad))
    failed=$((failed + bad))
  elif ! grep -q 'No tests were found' "$log"; then
    failed=$((failed + 1))
  fi
  rm -f "$log"
}

build() {  # build DIR [cmake options...]
  local dir=$1; shift
  if ! { cmake -S "$root" -B "$dir" -G Ninja "$@" >/dev/null && cmake --build "$dir" -j "$jobs"; }; then
    echo "build of $dir failed" >&2
    failed=$((failed + 1))
    return 1
  fi
}

echo "== Windows build (i686-w64-mingw32)"
build build/win32 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release
source "$root/tools/wine-prefix.sh" "$root/build/wineprefix"

echo "== native build and tests (Wine tests included)"
if build build/native -DCMAKE_BUILD_TYPE=RelWithDebInfo \
     -DTALVORIX_WIN32_BUILD_DIR="$root/build/win32" -DTALVORIX_WINEPREFIX="$WINEPREFIX"; then
  run_ctest build/native
fi
wineserver -k 2>/dev/null

echo "== native tests with AddressSanitizer and UBSan"
if build build/asan -DCMAKE_BUILD_TYPE=Debug -DTALVORIX_SANITIZE=ON; then
  run_ctest build/asan
fi

echo "== short fuzz runs"
if build build/fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang \
     -DCMAKE_CXX_COMPILER=clang++ -DTALVORIX_FUZZ=ON; then
  run_ctest build/fuzz -L fuzz
fi

echo
echo "tests: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
