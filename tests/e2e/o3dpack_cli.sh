#!/usr/bin/env bash
# End-to-end checks of the real o3dpack program: the exact bytes `create` writes, listing and
# extracting through the engine's reader (same bytes back), and every refusal leaving no output
# behind. Works in its own scratch folder.
# Usage: o3dpack_cli.sh PATH/TO/o3dpack [RUNNER...]   (RUNNER e.g. with_wine.sh)
set -u
source "$(dirname "$0")/cli_common.sh" "$@"

le32() {
  local v=$1
  for shift_ in 0 8 16 24; do
    printf "\\$(printf %03o $(((v >> shift_) & 255)))"
  done
}

# One 72-byte directory record: the name zero-padded to 64 bytes, size, offset.
entry() {
  printf '%s' "$1"
  head -c $((64 - ${#1})) /dev/zero
  le32 "$2"
  le32 "$3"
}

# Asserts a refused create: non-zero status, a message, and no pack (nor leftover) written.
refused() {
  local what=$1
  shift
  run create "$@"
  local status=$?
  [ $status -ne 0 ] || fail "$what: create succeeded"
  [ -s err.txt ] || fail "$what: no message on standard error"
  [ -e "$1" ] && fail "$what: $1 was written"
  [ -e "$1.part" ] && fail "$what: $1.part was left behind"
}

mkdir -p a b c
printf 'hello' >a/hello.txt
: >b/empty.bin
for ((i = 0; i < 256; i++)); do printf "\\$(printf %03o $i)"; done >c/data.bin

# --- help and usage ---
run --help || fail "--help exited with $?"
grep -q "o3dpack create OUT FILE" out.txt || fail "--help shows no usage"
run
[ $? -eq 2 ] || fail "no arguments did not exit with 2"
grep -q "Usage:" err.txt || fail "no arguments shows no usage on standard error"

# --- create writes header, directory, then the data, little-endian ---
run create game.dat a/hello.txt b/empty.bin c/data.bin ||
  fail "create exited with $?: $(cat err.txt)"
{
  le32 2903
  le32 3
  entry hello.txt 5 224
  entry empty.bin 0 229
  entry data.bin 256 229
  cat a/hello.txt b/empty.bin c/data.bin
} >expected.dat
cmp -s game.dat expected.dat || fail "game.dat differs from the expected bytes"

# --- list prints the engine's listing ---
run list game.dat || fail "list exited with $?"
cat >expected.txt <<'TEXT'
Paczka: game.dat
Liczba plikow: 3
==================================
  1. hello.txt                             5 bajtow (offset: 224)
  2. empty.bin                             0 bajtow (offset: 229)
  3. data.bin                            256 bajtow (offset: 229)
==================================
TEXT
cmp -s out.txt expected.txt || { fail "list output differs:"; diff expected.txt out.txt; }

# --- extract gives the same bytes back ---
run extract game.dat hello.txt || fail "extract hello.txt exited with $?"
cmp -s hello.txt a/hello.txt || fail "extracted hello.txt differs"
mkdir out
run extract game.dat data.bin out/data.copy || fail "extract data.bin exited with $?"
cmp -s out/data.copy c/data.bin || fail "extracted data.bin differs"
run extract game.dat empty.bin out/empty.copy || fail "extract empty.bin exited with $?"
[ -f out/empty.copy ] && [ ! -s out/empty.copy ] || fail "extracted empty.bin is not an empty file"

run extract game.dat Hello.txt out/nothing
[ $? -eq 1 ] || fail "extracting a missing entry did not exit with 1"
[ "$(wc -l <err.txt)" -eq 1 ] || fail "missing entry: not one line on standard error"
[ -e out/nothing ] && fail "missing entry: a file was written"

# --- a pack that can't be opened: one line on standard error, status 1 ---
printf 'not a pack at all' >bogus.dat
for bad in bogus.dat missing.dat; do
  run list $bad
  [ $? -eq 1 ] || fail "list $bad did not exit with 1"
  [ "$(wc -l <err.txt)" -eq 1 ] || fail "list $bad: not one line on standard error"
  [ -s out.txt ] && fail "list $bad printed to standard output"
done
run extract bogus.dat hello.txt
[ $? -eq 1 ] || fail "extract from bogus.dat did not exit with 1"

# --- names: 63 characters fit, 64 do not; no two alike ---
name63=$(printf 'n%.0s' {1..59}).bin
name64=$(printf 'n%.0s' {1..60}).bin
printf 'x' >"$name63"
printf 'y' >"$name64"
run create long_ok.dat "$name63" || fail "a 63-character name was refused"
run extract long_ok.dat "$name63" out/long.copy && cmp -s out/long.copy "$name63" ||
  fail "the 63-character entry did not come back"
refused "64-character name" long.dat "$name64"
cp a/hello.txt c/hello.txt
refused "two files of one name" twice.dat a/hello.txt c/hello.txt
refused "no files" none.dat
refused "a missing file" gone.dat a/hello.txt a/nope.txt
refused "a folder" folder.dat a

# --- 1024 files fit, 1025 do not ---
mkdir many
for ((i = 0; i < 1025; i++)); do printf '%d' $i >many/f$i; done
files=()
for ((i = 0; i < 1024; i++)); do files+=(many/f$i); done
run create full.dat "${files[@]}" || fail "1024 files were refused: $(cat err.txt)"
run list full.dat && grep -qxF "Liczba plikow: 1024" out.txt ||
  fail "full.dat does not list 1024 entries"
run extract full.dat f1023 out/f1023 && [ "$(cat out/f1023)" = 1023 ] ||
  fail "f1023 did not come back"
refused "1025 files" over.dat "${files[@]}" many/f1024

# --- a refused create leaves an existing pack as it was ---
cp game.dat keep.dat
run create keep.dat "$name64"
[ $? -ne 0 ] || fail "create over keep.dat with a 64-character name succeeded"
cmp -s keep.dat game.dat || fail "a refused create changed keep.dat"

finish o3dpack
