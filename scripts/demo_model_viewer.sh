#!/usr/bin/env bash
# A short scripted look at the model viewer with its own model, saving screenshots: standing over
# its blob, running, attacking over its projected shadow, and in wireframe.
# Usage: demo_model_viewer.sh PROGRAM OUTDIR   (DISPLAY must be set)
set -euo pipefail
program=$(realpath "$1")
out=$(realpath "$2")
run=$(mktemp -d /tmp/o3d-demo.XXXXXX) # the example writes and removes its model files here
trap 'rm -rf "$run"' EXIT
(cd "$run" && exec "$program") >"$out/model_viewer.log" 2>&1 &
pid=$!
shot() { sleep 0.7; import -window root "$out/$1.png"; }
# Keys are polled once a frame, so a press must last a frame or two to be seen.
press() { xdotool keydown "$1"; sleep 0.2; xdotool keyup "$1"; }
sleep 2
shot viewer-01-standing
press Up
shot viewer-02-running
press Up
press b
shot viewer-03-attack-projected-shadow
press w
shot viewer-04-wireframe
press Escape
wait "$pid"
