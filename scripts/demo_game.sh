#!/usr/bin/env bash
# A scripted session of the game with real X input, saving screenshots: the intro, the main menu,
# the options screen after a change, the loading screen, play, the pause menu, walking, the beast
# chasing, a shot's flash, the beast's flinch, a strike, its death and fade, and GAME OVER.
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

# Play: walk, turn round to the beast that comes running, shoot it fifty times, watch it die and
# fade; then a new game in which the beast wins. Short moments (the flash, the flinch, a strike's
# red tint) are caught with quick screen grabs, keeping the grab with the most of their colour.
burst() { # burst NAME COUNT FX: grabs the screen COUNT times while the caller acts, keeps the best
  local name=$1 count=$2 fx=$3 dir
  dir=$(mktemp -d)
  for i in $(seq "$count"); do xwd -root -silent >"$dir/$i.xwd"; done
  local best=1 most=-1 n
  for i in $(seq "$count"); do
    n=$(convert "xwd:$dir/$i.xwd" -resize 25% -fx "$fx" -format '%[fx:int(mean*w*h)]' info:)
    if [ "$n" -gt "$most" ]; then most=$n best=$i; fi
  done
  convert "xwd:$dir/$best.xwd" "$out/$name.png"
  rm -rf "$dir"
}
fire() { xdotool mousedown 1; sleep 0.05; xdotool mouseup 1; sleep 0.2; }
# A fresh game from the pause menu, so the fight starts at full health.
tap Down
tap Return
sleep 0.5
shot game-07-first-view
xdotool keydown w
sleep 1
shot game-08-walking
xdotool keyup w
xdotool keydown Left
sleep 2
xdotool keyup Left
shot game-09-enemy-chasing
(sleep 0.05; fire) &
shooter=$!
burst game-10-shot-flash 8 'r>0.8 && g>0.4 && g<0.9 && b<0.4'
wait "$shooter"
fire
fire
# The fourth hit is the first flinch (the game's random draws are the same in every run).
fire
shot game-11-enemy-pain
# Grabs of the screen keep coming while shooting, to catch the red of a strike.
(for _ in $(seq 20); do fire; done) &
shooter=$!
burst game-12-player-hurt 30 'r>0.5 && g<0.25 && b<0.25'
wait "$shooter"
# Shots that fall between two frames are lost, so fire until the enemy bar's red is gone.
red_left() {
  import -window root -crop 1x1+252+20 +repage -format '%[fx:int(255*r)]' info: 2>/dev/null
}
for _ in $(seq 60); do
  fire
  [ "$(red_left)" -lt 128 ] && break
done
sleep 0.5
shot game-13-enemy-dying
sleep 5.3
shot game-14-enemy-fading
tap Escape
tap Down
tap Return
sleep 38
shot game-15-game-over
sleep 4
tap Up
tap Return
wait "$pid"
echo "game ended with status $?; log in $out/game.log; settings in $dir/config.ini"
