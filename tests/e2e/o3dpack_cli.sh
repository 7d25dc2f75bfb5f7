#!/usr/bin/env bash
# End-to-end checks of the real o3dpack program: the exact bytes `create` writes, listing and
# extracting through the engine's reader (same bytes back), every refusal leaving no output
# behind, and no file touched that the command did not name as its output. Works in its own
# scratch folder.
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

# Every file under the scratch folder with its checksum, except the captured output.
snapshot() {
  find . -type f ! -name 'out.*' ! -name 'err.*' -print0 | sort -z | xargs -0 -r cksum
}

# Asserts a refused create: non-zero status, a message, and no pack (nor leftover) written.
refused() {
  local what=$1
  shift
  local before
  before=$(snapshot)
  run create "$@"
  local status=$?
  [ $status -ne 0 ] || fail "$what: create succeeded"
  [ -s err.txt ] || fail "$what: no message on standard error"
  [ "$(snapshot)" = "$before" ] || fail "$what: files were written or changed"
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
refused "create over keep.dat with a 64-character name" keep.dat "$name64"
cmp -s keep.dat game.dat || fail "a refused create changed keep.dat"

# --- create touches no file but its output: not OUT.part, not an input ---
printf 'precious' >new.dat.part
printf 'also precious' >keep.dat.part
cp keep.dat.part saved.part
before=$(find . -type f ! -name 'out.*' ! -name 'err.*' ! -name 'new.dat' ! -name 'keep.dat' |
  sort)
run create new.dat a/hello.txt keep.dat.part || fail "create with an input named OUT.part failed"
run create keep.dat c/data.bin || fail "create over an existing pack failed: $(cat err.txt)"
after=$(find . -type f ! -name 'out.*' ! -name 'err.*' ! -name 'new.dat' ! -name 'keep.dat' |
  sort)
[ "$before" = "$after" ] ||
  fail "create left or removed files: $(diff <(echo "$before") <(echo "$after") | tr '\n' ' ')"
[ "$(cat new.dat.part)" = precious ] || fail "create changed an existing new.dat.part"
cmp -s keep.dat.part saved.part || fail "create changed its input keep.dat.part"
run extract new.dat keep.dat.part out/part.copy && cmp -s out/part.copy saved.part ||
  fail "the input named OUT.part did not go into the pack whole"
run list keep.dat && grep -qxF "Liczba plikow: 1" out.txt || fail "keep.dat was not replaced"

# --- create refuses an output that is one of its inputs, or an existing file that is no pack ---
cp game.dat self.dat
refused "the output among the inputs" self.dat a/hello.txt self.dat
refused "the output among the inputs by another path" self.dat a/hello.txt ./self.dat
refused "the output forgotten (first picture taken for it)" a/hello.txt c/data.bin
grep -q "not a pack" err.txt && grep -q "o3dpack create OUT FILE" err.txt ||
  fail "an output that is no pack: the message does not say so and suggest the order"

# --- extract refuses to write onto the pack itself ---
mkdir -p s
printf 'inner' >s/inner.dat
run create inner.dat s/inner.dat || fail "a pack holding an entry of its own name: $(cat err.txt)"
cp inner.dat inner.saved
for dest in inner.dat ./inner.dat ""; do
  # An empty DEST stands for none: the entry's own name in the current folder.
  run extract inner.dat inner.dat ${dest:+"$dest"}
  [ $? -eq 1 ] || fail "extract onto the pack itself (${dest:-default}) did not exit with 1"
  [ -s err.txt ] || fail "extract onto the pack itself (${dest:-default}): no message"
done
cmp -s inner.dat inner.saved || fail "extract changed the pack it read"

# --- extract checks its writes and refuses an entry running past the end of the pack ---
run extract game.dat data.bin /dev/full
[ $? -eq 1 ] || fail "extract to /dev/full did not exit with 1"
[ -s err.txt ] || fail "extract to /dev/full: no message"
{
  le32 2903
  le32 2
  entry whole.bin 4 152
  entry short.bin 10 152
  printf 'four'
} >short.dat
run extract short.dat whole.bin out/whole.bin && [ "$(cat out/whole.bin)" = four ] ||
  fail "an entry inside the file was not extracted"
run extract short.dat short.bin out/short.bin
[ $? -eq 1 ] || fail "an entry running past the end did not exit with 1"
[ -e out/short.bin ] && fail "an entry running past the end was written"

# --- list escapes bytes that are not printable; printable names stay as they are ---
LC_ALL=C
names=($'bell\a.txt' $'esc\e[31mred' $'tab\there' $'caf\xc3\xa9' 'plain~name.txt')
{
  le32 2903
  le32 ${#names[@]}
  for n in "${names[@]}"; do entry "$n" 0 368; done
} >odd.dat
run list odd.dat || fail "list of odd names exited with $?"
cat >expected.txt <<'TEXT'
Paczka: odd.dat
Liczba plikow: 5
==================================
  1. bell\x07.txt                          0 bajtow (offset: 368)
  2. esc\x1B[31mred                        0 bajtow (offset: 368)
  3. tab\x09here                           0 bajtow (offset: 368)
  4. caf\xC3\xA9                           0 bajtow (offset: 368)
  5. plain~name.txt                        0 bajtow (offset: 368)
==================================
TEXT
cmp -s out.txt expected.txt || { fail "list of odd names differs:"; diff expected.txt out.txt; }

finish o3dpack
