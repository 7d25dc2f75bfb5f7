#!/usr/bin/env bash
# End-to-end checks of the real assetgen program: it writes every asset the game reads into the
# folder given, the same bytes twice, a contact sheet on request, and refuses bad arguments, a
# missing font and a folder it cannot write, each with its exit code. Works in its own scratch
# folder. Usage: assetgen_cli.sh PATH/TO/assetgen
set -u
source "$(dirname "$0")/cli_common.sh" "$@"
export LC_ALL=C # file lists in byte order

expected="BankGothic16.bmp BankGothic16.met BankGothic24.bmp BankGothic24.met day.wav
enemydeath.wav enemysound.wav fire.bmp gun.bmp gun.obj health.bmp heightmap.bmp intro.avi
jump.wav playerdeath.wav playerhurt.wav select.wav shot.wav skin.bmp skybox_back.bmp
skybox_bottom.bmp skybox_front.bmp skybox_left.bmp skybox_right.bmp skybox_top.bmp
terrain.bmp title.bmp tree_winter.bmp tree_winter.obj tris.md2 walk.wav"

mkdir first second
run first --preview sheet.bmp || fail "assetgen first exited with $?"
grep -q "^assetgen: 31 files" out.txt || fail "unexpected output: $(cat out.txt)"
[ "$(cd first && ls | tr '\n' ' ' | sed 's/ $//')" = "$(echo $expected)" ] ||
  fail "files written: $(cd first && ls | tr '\n' ' ')"
[ "$(head -c 2 sheet.bmp)" = "BM" ] || fail "no contact sheet"
run second || fail "assetgen second exited with $?"
diff -r first second >/dev/null || fail "two runs wrote different bytes"

run
[ $status -eq 2 ] || fail "no arguments: exit $status, not 2"
grep -q "^usage: assetgen OUT_DIR" err.txt || fail "no usage line"
run first --bogus
[ $status -eq 2 ] || fail "an unknown option: exit $status, not 2"
run first --font no-such-font.ttf
[ $status -eq 1 ] || fail "a missing font: exit $status, not 1"
grep -q "cannot open the font" err.txt || fail "no font message: $(cat err.txt)"
run no-such-folder
[ $status -eq 1 ] || fail "a missing folder: exit $status, not 1"
grep -q "cannot write no-such-folder/" err.txt || fail "no write message: $(cat err.txt)"
finish assetgen_cli
