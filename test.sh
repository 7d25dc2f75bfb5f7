#!/usr/bin/env bash
# Installs what is missing, builds natively, with sanitizers and for Windows, and runs every test
# through CTest: the native build's unit, GL and end-to-end tests (each display test under its own
# Xvfb), the unit tests again under AddressSanitizer + UndefinedBehaviorSanitizer, and the Windows
# build's tests under Wine, and every fuzz target briefly over its seeds (scripts/fuzz.sh, beside the
# Wine tests, which run one at a time and leave a core free). Exits non-zero on any failure.
set -uo pipefail
cd "$(dirname "$0")"

jobs=${O3D_JOBS:-$(nproc)}
export O3D_WINEPREFIX=${O3D_WINEPREFIX:-$PWD/build-mingw/wineprefix}
failed=()

step() { printf '\n=== %s ===\n' "$*"; }

build() { # folder, cmake options...
  local dir=$1
  shift
  cmake -S . -B "$dir" "$@" >"$dir/configure.log" 2>&1 || { cat "$dir/configure.log"; return 1; }
  cmake --build "$dir" -j "$jobs" 2>&1 | grep -E 'warning|error|Error' ; return "${PIPESTATUS[0]}"
}

run_ctest() { # name, folder, ctest options...
  local name=$1 dir=$2
  shift 2
  step "Tests: $name"
  ctest --test-dir "$dir" --output-on-failure -j "$jobs" "$@" || failed+=("$name")
}

step "Dependencies"
./scripts/install-deps.sh || exit 1

mkdir -p build build-asan build-mingw
step "Native build"
build build -DCMAKE_BUILD_TYPE=Release -DO3D_BUILD_TESTS=ON -DO3D_BUILD_BENCHMARKS=ON || exit 1
step "Sanitizer build (tests without a display)"
build build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DO3D_SANITIZE=ON -DO3D_BUILD_EXAMPLES=OFF \
  -DO3D_BUILD_BENCHMARKS=OFF || exit 1
step "Windows build (MinGW-w64)"
build build-mingw -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release || exit 1

step "Fuzz build (clang, libFuzzer)"
./scripts/fuzz.sh 0 || exit 1

# Wine makes its prefix on first start; do it once here, not in parallel tests.
step "Wine prefix"
WINEDEBUG=-all WINEPREFIX=$O3D_WINEPREFIX wineboot --init >/dev/null 2>&1
WINEDEBUG=-all WINEPREFIX=$O3D_WINEPREFIX wineserver --wait

run_ctest "native" build
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 run_ctest "sanitizers" build-asan -L unit
./scripts/fuzz.sh "${O3D_FUZZ_SECONDS:-3}" >build-fuzz/brief.log 2>&1 &
fuzz_pid=$!
run_ctest "windows (wine)" build-mingw
step "Fuzz targets (${O3D_FUZZ_SECONDS:-3} s each, seeds and kept corpus replayed first)"
wait $fuzz_pid || failed+=("fuzz")
cat build-fuzz/brief.log

step "Summary"
if [ ${#failed[@]} -ne 0 ]; then
  echo "FAILED: ${failed[*]}"
  exit 1
fi
echo "All test runs passed: native, sanitizers, windows (wine), fuzz targets."
