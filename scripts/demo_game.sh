#!/usr/bin/env bash
# A short scripted session of the game with real X input, saving screenshots: the intro, the
# main menu, the options screen after a change, the loading screen, play and the pause menu.
# Usage: demo_game.sh GAME_DIR OUTDIR   (DISPLAY must be set; GAME_DIR holds game and its data)
set -euo pipefail
dir=$(realpath "$1")
out=$(realpath "$2")
# Settings of an earlier session would change the screens; the demo starts from the defaults.
rm -f "$dir/config.ini"
(cd "$dir" && SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy} exec ./game) >"$out/game.log" 2>&1 &
pid=$!
for _ in $(seq 100); do
  window=$(xdotool search --onlyvisible --name '^Ostrel3D$' 2>/dev/null | head -1) && [ -n "$window" ] && break
  sleep 0.2
done
xdotool mousemove --window "$window" 400 300
xdotool windowfocus --sync "$window" 2>/dev/null || xdotool windowfocus "$window"
shot() { import -window root "$out/$1.png"; }
# Keys are polled once a frame, so a press must last a frame or two to be seen.
tap() { xdotool keydown "$1"; sleep 0.1; xdotool keyup "$1"; sleep 0.4; }

sleep 2.5
shot game-01-intro
tap space
sleep 0.5
shot game-02-main-menu
tap Down
tap Return
tap Down
tap Down
tap Right
tap Down
tap Down
tap Down
tap Left
shot game-03-options-changed
tap Escape
tap Up
# The loading screen stands for a fraction of a second: grab the screen quickly (xwd) while the
# level loads and keep the grab with the most of its yellow text.
grabs=$(mktemp -d)
(for i in $(seq 40); do xwd -root -silent >"$grabs/$i.xwd"; done) &
grabber=$!
sleep 0.05
xdotool keydown Return
wait "$grabber"
xdotool keyup Return
best=1 most=-1
for i in $(seq 40); do
  n=$(convert "xwd:$grabs/$i.xwd" -crop 400x100+200+250 +repage -fx 'r>0.8 && g>0.8 && b<0.3' -format '%[fx:int(mean*w*h)]' info:)
  if [ "$n" -gt "$most" ]; then most=$n best=$i; fi
done
convert "xwd:$grabs/$best.xwd" "$out/game-04-loading.png"
rm -rf "$grabs"
sleep 1
shot game-05-playing
tap Escape
shot game-06-pause-menu
tap Up
tap Return
wait "$pid"
echo "game ended with status $?; log in $out/game.log; settings in $dir/config.ini"
