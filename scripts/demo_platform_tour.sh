#!/usr/bin/env bash
# A short scripted walk through the platform tour with real X input, saving screenshots.
# Usage: demo_platform_tour.sh PROGRAM OUTDIR   (DISPLAY must be set)
set -euo pipefail
program=$1
out=$2
"$program" >"$out/platform_tour.log" 2>&1 &
pid=$!
for _ in $(seq 50); do
  window=$(xdotool search --name '^Ostrel3D$' 2>/dev/null | head -1) && [ -n "$window" ] && break
  sleep 0.2
done
shot() { sleep 0.4; import -window root "$out/$1.png"; }
# Keys are polled once a frame, so a press must last a frame or two to be seen.
tap() { xdotool keydown "$1"; sleep 0.15; xdotool keyup "$1"; }

shot 01-start
xdotool mousemove 420 280 keydown w; sleep 0.8; xdotool keyup w
shot 02-walked-forward
tap m; sleep 0.2
xdotool mousemove_relative -- 120 -40; sleep 0.3
xdotool keydown d keydown shift
shot 03-mouse-look-and-keys-held
xdotool keyup d keyup shift
tap m
xdotool click 4 click 4 click 4 mousedown 1; sleep 0.3
shot 04-wheel-and-button
xdotool mouseup 1; tap f; sleep 0.2
shot 05-fading-out
sleep 0.6; tap f; sleep 0.8
shot 06-faded-back-in
xdotool key alt+Return; sleep 0.8
shot 07-full-screen
xdotool key alt+Return; sleep 0.5
tap Escape
wait "$pid"
echo "platform_tour ended with status $?; log in $out/platform_tour.log"
