#!/usr/bin/env bash
# Shows the images_and_text example for a moment and saves a screenshot of it.
# Usage: demo_images_and_text.sh PROGRAM OUTDIR   (DISPLAY must be set)
set -euo pipefail
program=$(realpath "$1")
out=$(realpath "$2")
run=$(mktemp -d /tmp/o3d-demo.XXXXXX) # the example writes and removes its pictures here
trap 'rm -rf "$run"' EXIT
(cd "$run" && exec "$program") >"$out/images_and_text.log" 2>&1 &
pid=$!
sleep 2.5
import -window root "$out/08-images-and-text.png"
xdotool keydown Escape; sleep 0.2; xdotool keyup Escape
wait "$pid"
