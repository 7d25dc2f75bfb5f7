#!/usr/bin/env bash
# Times the whole tellurix process for the largest, heaviest map (2048 x 2048 mountains), the
# figure the speed goal is about: start-up, generation, the 12 MiB bitmap and exit. Runs it a few
# times in a scratch folder (removed afterwards) and prints each run and the best.
# Usage: bench/tellurix_time.sh path/to/tellurix [runs]
set -euo pipefail
tellurix=$(realpath "$1")
runs=${2:-5}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cd "$scratch"
best=
for ((i = 1; i <= runs; i++)); do
  /usr/bin/time -f '%e %U %S %M' -o times.txt "$tellurix" 2048 2048 6 1 >/dev/null
  read -r elapsed user sys maxkb <times.txt
  echo "run $i: ${elapsed} s elapsed (${user} s user, ${sys} s system), ${maxkb} KB peak"
  if [ -z "$best" ] || awk -v a="$elapsed" -v b="$best" 'BEGIN { exit !(a < b) }'; then
    best=$elapsed
  fi
  rm -f heightmap_mountains_1.bmp
done
echo "best of $runs: ${best} s for tellurix 2048 2048 6 1"
