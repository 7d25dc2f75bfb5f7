#!/usr/bin/env bash
# Times what the build's data step runs: the whole assetgen process writing every asset, then
# o3dpack packing game.dat, a few times in a scratch folder (removed afterwards); prints each run,
# the best, and the sizes of game.dat and intro.avi.
# Usage: bench/assetgen_time.sh path/to/assetgen path/to/o3dpack [runs]
set -euo pipefail
assetgen=$(realpath "$1")
o3dpack=$(realpath "$2")
runs=${3:-3}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cd "$scratch"
best=
for ((i = 1; i <= runs; i++)); do
  rm -rf out game.dat && mkdir out
  /usr/bin/time -f '%e %U %S %M' -o times.txt "$assetgen" out >/dev/null
  read -r elapsed user sys maxkb <times.txt
  /usr/bin/time -f '%e' -o pack.txt "$o3dpack" create game.dat $(ls out/* | grep -v intro.avi) >/dev/null
  echo "run $i: assetgen ${elapsed} s elapsed (${user} s user, ${sys} s system, ${maxkb} KB peak)," \
    "o3dpack $(cat pack.txt) s"
  if [ -z "$best" ] || awk -v a="$elapsed" -v b="$best" 'BEGIN { exit !(a < b) }'; then
    best=$elapsed
  fi
done
echo "best of $runs: ${best} s for assetgen"
echo "game.dat: $(stat -c %s game.dat) bytes; intro.avi: $(stat -c %s out/intro.avi) bytes"
