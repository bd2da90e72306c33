#!/usr/bin/env bash
# Runs every test of the project: installs what is missing, builds the Windows
# programs (mingw-w64: the 32-bit build, i686, and the 64-bit build, x86-64)
# and the native tree, then runs
#   - the native tests,
#   - the Wine tests, which run the Windows programs: every one on the build
#     that runs on this host (tools/wine-host.sh), and where the host runs both
#     builds, a subset (the converter comparison, the main-window session) on
#     the 64-bit build too,
#   - the native tests on the tree "Building by hand" makes (no build type, no
#     optimisation),
#   - the link-time check that each program, native and Windows, defines every
#     name once,
#   - the native tests built with AddressSanitizer and UBSan,
#   - short libFuzzer runs of the HEX reader and the receive interpreter.
# TALVORIX_WINE64=1 runs the Wine tests as a host without 32-bit support would.
# Ends with one line "tests: N passed, M failed" and exits non-zero on any failure.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$PWD
jobs=${JOBS:-$(nproc)}

"$root/tools/install-deps.sh" || { echo "installing the build tools failed" >&2; exit 1; }
source "$root/tools/wine-host.sh"

passed=0
failed=0
summary=()
# run_ctest TITLE DIR [ctest options...]: runs, adds the figures up for the
# last line and keeps one summary line. ctest prints
# "N% tests passed, M tests failed out of T".
run_ctest() {
  local title=$1 dir=$2; shift 2
  local log line total=0 bad=0
  echo "== $title"
  log=$(mktemp)
  (cd "$dir" && ctest --output-on-failure --timeout 900 "$@") 2>&1 | tee "$log"
  line=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1)
  if [ -n "$line" ]; then
    total=$(sed -E 's/.*out of ([0-9]+).*/\1/' <<<"$line")
    bad=$(sed -E 's/.*passed, ([0-9]+) tests? failed.*/\1/' <<<"$line")
  elif ! grep -q 'No tests were found' "$log"; then
    total=1 bad=1
  fi
  passed=$((passed + total - bad))
  failed=$((failed + bad))
  summary+=("$(printf '%-68s %4d passed, %d failed' "$title" $((total - bad)) "$bad")")
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

# check_build TITLE DIR [cmake options...]: a stage whose one test is that the
# tree builds.
check_build() {
  local title=$1 dir=$2; shift 2
  local bad=0
  echo "== $title"
  build "$dir" "$@" || bad=1
  passed=$((passed + 1 - bad))
  summary+=("$(printf '%-68s %4d passed, %d failed' "$title" $((1 - bad)) "$bad")")
}

# The Windows builds; the Wine tests of each one that runs here.
wine_builds=("$TALVORIX_WINE_ARCH")
[ "$TALVORIX_WINE_ARCH" = win32 ] && wine_builds+=(win64)
native_options=(-DTALVORIX_WINE_FULL="$TALVORIX_WINE_ARCH" -DTALVORIX_WINE_SUBSET="${wine_builds[1]:-}")
for arch in win32 win64; do
  echo "== Windows build: $(talvorix_describe_build "$arch")"
  build "build/$arch" -DCMAKE_TOOLCHAIN_FILE="$(talvorix_windows_toolchain "$arch")" -DCMAKE_BUILD_TYPE=Release
done
for arch in "${wine_builds[@]}"; do
  source "$root/tools/wine-prefix.sh" "$root/build/wineprefix-$arch" "$arch" || failed=$((failed + 1))
  upper=${arch^^}
  native_options+=(-DTALVORIX_${upper}_BUILD_DIR="$root/build/$arch"
                   -DTALVORIX_${upper}_WINEPREFIX="$WINEPREFIX" -DTALVORIX_${upper}_WINE="$TALVORIX_WINE")
done
if [ "${TALVORIX_WINE64:-0}" = 1 ]; then
  echo "TALVORIX_WINE64=1: the Wine tests run as on a host without 32-bit support."
else
  echo "This host $([ "$TALVORIX_HOST_RUNS_32BIT" = 1 ] && echo runs || echo "does not run") 32-bit programs."
fi
echo "Every Wine test runs on $(talvorix_describe_build "$TALVORIX_WINE_ARCH")."

if build build/native -DCMAKE_BUILD_TYPE=RelWithDebInfo "${native_options[@]}"; then
  run_ctest "native tests" build/native -LE wine
  run_ctest "Wine tests, all, on $(talvorix_describe_build "${wine_builds[0]}")" build/native -L "wine-${wine_builds[0]}"
  if [ ${#wine_builds[@]} -gt 1 ]; then
    run_ctest "Wine tests, subset, on $(talvorix_describe_build win64)" build/native -L wine-win64
  fi
fi
for arch in "${wine_builds[@]}"; do
  WINEPREFIX="$root/build/wineprefix-$arch" wineserver -k 2>/dev/null
done

# The native tree exactly as the README's "Building by hand" makes it: no build
# type, so no optimisation, which may show what optimised code hides.
if build build/plain; then
  run_ctest "native tests, built by hand (no build type)" build/plain -LE wine
fi

# Link-time optimisation lets the linker compare every definition of a name in
# one program: two different types of one name fail the link.
check_build "one definition per name, native programs (-flto -Wodr)" build/odr-native -DTALVORIX_ODR_CHECK=ON
check_build "one definition per name, Windows programs (-flto -Wodr)" build/odr-win32 \
  -DCMAKE_TOOLCHAIN_FILE="$(talvorix_windows_toolchain win32)" -DTALVORIX_ODR_CHECK=ON

if build build/asan -DCMAKE_BUILD_TYPE=Debug -DTALVORIX_SANITIZE=ON; then
  run_ctest "native tests with AddressSanitizer and UBSan" build/asan
fi

if build build/fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang \
     -DCMAKE_CXX_COMPILER=clang++ -DTALVORIX_FUZZ=ON; then
  run_ctest "short fuzz runs" build/fuzz -L fuzz
fi

echo
printf '%s\n' "${summary[@]}"
echo "tests: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
