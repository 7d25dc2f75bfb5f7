#!/usr/bin/env bash
# End-to-end checks of the real tellurix program: its exact output, argument handling, the
# bitmap it writes, the exit codes, and pinned file hashes that every build (the Windows build
# under Wine included) must reproduce byte for byte. Works in its own scratch folder.
# Usage: tellurix_cli.sh PATH/TO/tellurix [RUNNER...]   (RUNNER e.g. with_wine.sh)
set -u
source "$(dirname "$0")/cli_common.sh" "$@"

sizeOf() {
  wc -c <"$1" | tr -d ' '
}

le32At() {
  od -An -tu4 -j "$2" -N4 "$1" | tr -d ' '
}

le16At() {
  od -An -tu2 -j "$2" -N2 "$1" | tr -d ' '
}

# The usage block that ends every run's output and is all that -h and --help print.
cat >usage.txt <<'TEXT'

=== PROGRAM USAGE ===
tellurix.exe [width] [height] [type] [seed]
  Types:
    1 = Gentle hills (RECOMMENDED for gentle terrain)
    2 = Plains with waves
    3 = Rolling hills
    4 = Valleys and ridges
    5 = Island
    6 = Mountains
  Example: tellurix.exe 512 512 1 12345

TEXT

# --- the whole standard output of one run ---
run 17 20 5 7 || fail "17 20 5 7 exited with $?"
cat >expected.txt <<'TEXT'
==============================================
  HEIGHTMAP GENERATOR - RANDOM VERSION
==============================================

Size: 17 x 20
Seed: 7 (save it to recreate the same terrain!)
Type: Island
Saving to: heightmap_island_7.bmp...
OK! File saved.

=== USAGE IN OSTREL ===
TTerrain* land = o3DCreateTerrain("heightmap_island_7.bmp", 2.0f, 30.0f);
TEXT
cat usage.txt >>expected.txt
cmp -s out.txt expected.txt || { fail "standard output differs:"; diff expected.txt out.txt; }
[ -s err.txt ] && fail "unexpected standard error: $(cat err.txt)"

# --- the bitmap's headers: width 17 has rows of 52 bytes (51 + 1 pad) ---
bmp=heightmap_island_7.bmp
[ "$(sizeOf $bmp)" = $((52 * 20 + 54)) ] || fail "$bmp is $(sizeOf $bmp) bytes"
[ "$(head -c 2 $bmp)" = BM ] || fail "$bmp does not start with BM"
# Offset, bytes, value: file size, reserved, data offset, info size, width, height, planes, bits,
# then compression, image size, resolutions and colour counts all 0.
for field in "2 4 $((52 * 20 + 54))" "6 4 0" "10 4 54" "14 4 40" "18 4 17" "22 4 20" "26 2 1" \
  "28 2 24" "30 4 0" "34 4 0" "38 4 0" "42 4 0" "46 4 0" "50 4 0"; do
  set -- $field
  if [ "$2" = 4 ]; then got=$(le32At $bmp "$1"); else got=$(le16At $bmp "$1"); fi
  [ "$got" = "$3" ] || fail "$bmp header at $1 is $got, not $3"
done
# The island's border is flat: the top-left pixel lies outside the island's circle.
[ "$(od -An -tu1 -j 54 -N 3 $bmp | tr -s ' ')" = " 0 0 0" ] || fail "island corner is not black"

# --- clamping: 10 5000 9 -1 ---
run 10 5000 9 -1 || fail "10 5000 9 -1 exited with $?"
for line in "Size: 16 x 2048" "Seed: 4294967295 (save it to recreate the same terrain!)" \
  "Type: Mountains" "Saving to: heightmap_mountains_4294967295.bmp..."; do
  grep -qxF "$line" out.txt || fail "10 5000 9 -1: no line '$line'"
done
[ "$(sizeOf heightmap_mountains_4294967295.bmp 2>/dev/null)" = $((48 * 2048 + 54)) ] ||
  fail "heightmap_mountains_4294967295.bmp missing or of the wrong size"

# --- no arguments: 256 x 256 gentle hills seeded by the clock ---
before=$(date +%s)
run || fail "no arguments exited with $?"
after=$(date +%s)
seed=$(sed -n 's/^Seed: \([0-9]*\) (save it.*/\1/p' out.txt)
if [ -z "$seed" ] || [ "$seed" -lt "$before" ] || [ "$seed" -gt "$after" ]; then
  fail "clock seed '$seed' is not between $before and $after"
fi
grep -qxF "Size: 256 x 256" out.txt || fail "default size is not 256 x 256"
grep -qxF "Type: Gentle hills" out.txt || fail "default type is not Gentle hills"
[ "$(sizeOf "heightmap_hills_$seed.bmp" 2>/dev/null)" = $((768 * 256 + 54)) ] ||
  fail "heightmap_hills_$seed.bmp missing or of the wrong size"

# --- text that is no number reads as 0 and is clamped ---
run wide tall kind seed || fail "garbage arguments exited with $?"
grep -qxF "Size: 16 x 16" out.txt &&
  grep -qxF "Seed: 0 (save it to recreate the same terrain!)" out.txt ||
  fail "garbage arguments did not give 16 x 16 with seed 0"
[ -f heightmap_hills_0.bmp ] || fail "garbage arguments wrote no heightmap_hills_0.bmp"

# --- -h and --help: the program's usage alone, status 0, no file written, wherever they stand ---
mkdir -p help && cd help || exit 1
for args in "--help" "-h" "32 32 2 --help" "-h 32"; do
  # shellcheck disable=SC2086 # the arguments are meant to split
  run $args || fail "'$args' exited with $?"
  cmp -s out.txt ../usage.txt || { fail "'$args' printed something else:"; diff ../usage.txt out.txt; }
  [ -s err.txt ] && fail "'$args' wrote to standard error: $(cat err.txt)"
  [ -n "$(ls ./*.bmp 2>/dev/null)" ] && fail "'$args' wrote $(ls ./*.bmp)"
done
# Only the exact words ask for help: these are numbers (0) as before.
run --HELP -help "-h " --h || fail "--HELP -help '-h ' --h exited with $?"
grep -qxF "Size: 16 x 16" out.txt && [ -f heightmap_hills_0.bmp ] ||
  fail "--HELP -help '-h ' --h did not write a 16 x 16 map with seed 0"
cd .. || exit 1

# --- pinned files: the same seed makes the same bytes on every build and platform ---
mkdir -p pinned && cd pinned || exit 1
pins=(
  "1 heightmap_hills_12345.bmp 4c8bb732caccf0d812fe1685576a00761194346e615a5c1ca50d6e2ba4f1ddbf"
  "2 heightmap_plains_12345.bmp cb948f8e6fcf6aaa9cce20c5f24e17f70d78228a105d797232745a6d400dad90"
  "3 heightmap_rolling_12345.bmp bbb9eaccc04d561158a96cc3344b8e69d436e68d887713bdd03953ee17599285"
  "4 heightmap_valleys_12345.bmp a7d766653bbae7706e7a4f05cf05dd23a3eee3e712d494eb33e0ac18bc7f3158"
  "5 heightmap_island_12345.bmp 15ab4173f65c55a85f941bc00c5ac4a2a4b3f40bad4aaafc5b5c44b2687a4331"
  "6 heightmap_mountains_12345.bmp 2bf606563e46ad2f983f293c5e7f5eaed73bff07a65e213d66ffa3ff1c1cdd98"
)
for pin in "${pins[@]}"; do
  set -- $pin
  run 67 45 "$1" 12345 || fail "67 45 $1 12345 exited with $?"
  got=$(sha256sum "$2" 2>/dev/null | cut -d' ' -f1)
  [ "$got" = "$3" ] || fail "type $1: $2 has hash '$got'"
  mv "$2" "first_$2"
  run 67 45 "$1" 12345 >/dev/null
  cmp -s "$2" "first_$2" || fail "type $1: a second run wrote different bytes"
done
run 512 512 1 12345 || fail "512 512 1 12345 exited with $?"
got=$(sha256sum heightmap_hills_12345.bmp | cut -d' ' -f1)
[ "$got" = 0f584c42bea4b14168cc1101b1e2b6fecd04f1bcc638bf98e143b3ece8c4a67d ] ||
  fail "512 512 1 12345: heightmap_hills_12345.bmp has hash '$got'"
cd .. || exit 1

# --- a file that can't be written: status 1 and the error line ---
mkdir heightmap_plains_5.bmp
run 16 16 2 5
status=$?
[ $status -eq 1 ] || fail "unwritable output exited with $status, not 1"
[ "$(tail -n 1 out.txt)" = "ERROR: Cannot save file!" ] ||
  fail "unwritable output: last line '$(tail -n 1 out.txt)'"
grep -q "OK! File saved." out.txt && fail "unwritable output still says OK"

finish tellurix
