#!/usr/bin/env bash
# A look at the game's default data, saving pictures: a contact sheet of every image, the game's
# views drawn from the built game.dat (start, the beast running, striking, flinching and dead,
# the spruce, the menu), the beast in the model viewer and the spruce scattered by the world
# example.
# Usage: demo_game_data.sh BUILD_DIR OUTDIR   (DISPLAY must be set; the game_data target built)
set -euo pipefail
build=$(realpath "$1")
out=$(realpath "$2")
run=$(mktemp -d /tmp/o3d-data-demo.XXXXXX)
trap 'rm -rf "$run"' EXIT

"$build/tools/assetgen/assetgen" "$run" --preview "$run/sheet.bmp" >/dev/null
convert "$run/sheet.bmp" "$out/data-00-contact-sheet.png"

(cd "$run" && "$build/tools/assetgen/assetgen_scene" "$build/data/game.dat" "$run/view") \
  >"$out/game_data.log" 2>&1
n=1
for view in start chase tree attack pain dead menu; do
  convert "$run/view_$view.bmp" "$out/data-0$n-$view.png"
  n=$((n + 1))
done

shot() { sleep 0.7; import -window root "$out/$1.png"; }
press() { xdotool keydown "$1"; sleep 0.2; xdotool keyup "$1"; }
(cd "$run" && exec "$build/examples/model_viewer" tris.md2 skin.bmp) >>"$out/game_data.log" 2>&1 &
pid=$!
sleep 2
shot data-08-beast-standing
press Up
shot data-09-beast-running
press Up
press b
shot data-10-beast-attacking
press Escape
wait "$pid"

(cd "$run" && exec "$build/examples/world" tree_winter.obj) >>"$out/game_data.log" 2>&1 &
pid=$!
sleep 2.5
shot data-11-spruces-in-world
xdotool keydown Escape; sleep 0.2; xdotool keyup Escape
wait "$pid"
