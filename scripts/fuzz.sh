#!/usr/bin/env bash
# Builds the fuzz targets (clang, libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer) in
# build-fuzz, writes their seed corpora (small files of every kind, and the default data's own
# entries from build/data/game.dat, made first if missing), then runs each target for the given
# seconds: it replays the seeds and the corpus kept from earlier runs, then mutates. Prints per
# target the executions, their rate, the coverage (cov: edges, ft: features) and the findings
# (crash, leak, timeout and out-of-memory inputs, kept in build-fuzz/findings/). Exits non-zero on
# any finding or a target that did not run.
#   scripts/fuzz.sh [seconds-per-target] [target...]    (0 seconds: build and seed only)
#   O3D_FUZZ_PARALLEL=2 runs two targets at a time; O3D_JOBS sets the build's jobs.
set -uo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
shift $(($# > 0 ? 1 : 0))
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  targets=(pack bmp24 image font_metrics obj md2 wav staging staged_pack config tellurix_args)
fi
parallel=${O3D_FUZZ_PARALLEL:-1}
jobs=${O3D_JOBS:-$(nproc)}
dir=build-fuzz
if ! [[ $seconds =~ ^[0-9]+$ ]]; then
  echo "usage: $0 [seconds-per-target] [target...]" >&2
  exit 2
fi

# Inputs stay small enough to run fast; a unit running 10 s is a hang, 512 MB is absurd memory.
fuzz_options=(-max_len=65536 -timeout=10 -rss_limit_mb=512 -malloc_limit_mb=512
  -print_final_stats=1)
# A smaller quarantine than ASan's 256 MB, so the resident-memory limit measures the readers.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:quarantine_size_mb=32}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

mkdir -p "$dir"
cmake -S . -B "$dir" -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_FLAGS_RELWITHDEBINFO="-O1 -gline-tables-only" \
  -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -gline-tables-only" -DO3D_BUILD_FUZZERS=ON \
  -DO3D_BUILD_TESTS=OFF -DO3D_BUILD_EXAMPLES=OFF -DO3D_BUILD_BENCHMARKS=OFF -DO3D_INSTALL=OFF \
  >"$dir/configure.log" 2>&1 || { cat "$dir/configure.log"; exit 1; }
cmake --build "$dir" -j "$jobs" --target fuzzers >"$dir/build.log" 2>&1 ||
  { grep -E 'error|Error' "$dir/build.log"; exit 1; }
grep -E 'warning' "$dir/build.log"

gamedat=build/data/game.dat
if [ ! -f "$gamedat" ]; then
  echo "Making the default data ($gamedat) for the seeds"
  { [ -f build/CMakeCache.txt ] || cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null; } &&
    cmake --build build -j "$jobs" --target game_data >/dev/null || exit 1
fi
rm -rf "$dir/seeds"
"$dir/fuzz/make_seeds" "$dir/seeds" "$gamedat" || exit 1
[ "$seconds" -eq 0 ] && exit 0

# The targets' scratch files live in memory where there is a tmpfs, in a folder removed at the end.
scratch=$(mktemp -d "$( [ -w /dev/shm ] && echo /dev/shm || echo "${TMPDIR:-/tmp}")/o3d-fuzz.XXXXXX")
trap 'rm -rf "$scratch"' EXIT

run_target() { # name
  local name=$1 log=$dir/logs/$1.log
  mkdir -p "$dir/corpus/$name" "$dir/findings"
  TMPDIR=$scratch nice -n 10 "$dir/fuzz/${name}_fuzz" "${fuzz_options[@]}" \
    -max_total_time="$seconds" -artifact_prefix="$PWD/$dir/findings/$name-" \
    "$PWD/$dir/corpus/$name" "$PWD/$dir/seeds/$name" >"$log" 2>&1
  echo $? >"$dir/logs/$name.rc"
}

mkdir -p "$dir/logs"
rm -f "$dir"/logs/*.rc
running=0
for name in "${targets[@]}"; do
  if [ ! -x "$dir/fuzz/${name}_fuzz" ]; then
    echo "no fuzz target '$name'" >&2
    exit 2
  fi
  run_target "$name" &
  running=$((running + 1))
  if [ "$running" -ge "$parallel" ]; then
    wait -n
    running=$((running - 1))
  fi
done
wait

status=0
printf '%-14s %12s %9s %6s %7s %7s  %s\n' target executions exec/s cov ft corpus findings
for name in "${targets[@]}"; do
  log=$dir/logs/$name.log
  rc=$(cat "$dir/logs/$name.rc" 2>/dev/null || echo 1)
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
  last=$(grep -E '^#[0-9]+.*cov: ' "$log" | tail -1)
  cov=$(sed -n 's/.* cov: \([0-9]*\).*/\1/p' <<<"$last")
  ft=$(sed -n 's/.* ft: \([0-9]*\).*/\1/p' <<<"$last")
  corpus=$(sed -n 's/.* corp: \([0-9]*\).*/\1/p' <<<"$last")
  findings=$(find "$dir/findings" -name "$name-*" \( -name "*-crash-*" -o -name "*-leak-*" \
    -o -name "*-timeout-*" -o -name "*-oom-*" \) -newer "$dir/seeds" | sort)
  count=$(grep -c . <<<"$findings")
  printf '%-14s %12s %9s %6s %7s %7s  %s\n' "$name" "${execs:--}" "${rate:--}" "${cov:--}" \
    "${ft:--}" "${corpus:--}" "$count"
  if [ "$count" -gt 0 ] || [ "$rc" -ne 0 ]; then
    status=1
    echo "  exit status $rc; log $log"
    grep -E '^(==[0-9]+==ERROR|SUMMARY|.*invariant broken|.*runtime error)' "$log" | head -5 |
      sed 's/^/  /'
    sed 's/^/  finding: /' <<<"$findings" | grep -v '^  finding: $'
  fi
done
exit $status
