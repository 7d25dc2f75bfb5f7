#!/usr/bin/env bash
# A short scripted walk through the world example with real X input, saving screenshots.
# Usage: demo_world.sh PROGRAM OUTDIR   (DISPLAY must be set)
set -euo pipefail
program=$(realpath "$1")
out=$(realpath "$2")
# The example writes its generated files into the working directory while it starts.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
(cd "$scratch" && exec "$program") >"$out/world.log" 2>&1 &
pid=$!
for _ in $(seq 100); do
  window=$(xdotool search --name '^Ostrel3D - world$' 2>/dev/null | head -1) && [ -n "$window" ] && break
  sleep 0.2
done
shot() { sleep 0.5; import -window root "$out/$1.png"; }
# Keys are polled once a frame, so a press must last a frame or two to be seen.
tap() { xdotool keydown "$1"; sleep 0.15; xdotool keyup "$1"; }
hold() { xdotool keydown "$1"; sleep "$2"; xdotool keyup "$1"; }

sleep 1
shot world-01-start
tap p
shot world-02-primitives
tap p
hold w 2.5
shot world-03-walked-among-spruces
hold Right 1.2
hold Up 0.3
shot world-04-turned-right
tap f
shot world-05-fog-off
tap f
hold Up 0.9
shot world-06-overcast-sky
tap Escape
wait "$pid"
echo "world ended with status $?; log in $out/world.log"
