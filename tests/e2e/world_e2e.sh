#!/usr/bin/env bash
# The world example as a user meets it, on the X display the caller provides
# (tests/support/with_xvfb.sh), natively or, with a runner such as with_wine.sh, as the Windows
# build: its window opens on a drawn frame with the overcast sky above and lit, textured snow
# below; holding W walks and changes the view; the close button ends it with exit code 0 after a
# last frame; none of the files it makes at start are left behind; a missing model named on the
# command line ends it with exit code 1.
#
#   world_e2e.sh path/to/world [runner]
set -u

program=$(realpath "$1")
runner=${2:-}
work=$(mktemp -d /tmp/o3d-world-e2e.XXXXXX)
pid=
cleanup() {
  if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then kill "$pid"; wait "$pid" 2>/dev/null; fi
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "world_e2e: $*" >&2
  cat "$work/out.txt" >&2
  exit 1
}
running() { kill -0 "$pid" 2>/dev/null; }
# shellcheck source=window_common.sh
. "$(dirname "$0")/window_common.sh"

mkdir "$work/run"
(cd "$work/run" && exec $runner "$program") >"$work/out.txt" 2>&1 &
pid=$!

find_window 'Ostrel3D - world'

client_origin

shoot() { import -window root "$work/$1.png" 2>/dev/null; }
# stats SHOT X Y W H: mean red, green, blue (0..255) and standard deviation (0..1000) of a part of
# the client area.
stats() {
  convert "$work/$1.png" -crop "$4x$5+$((cx + $2))+$((cy + $3))" +repage \
    -format '%[fx:int(255*mean.r)] %[fx:int(255*mean.g)] %[fx:int(255*mean.b)] %[fx:int(1000*standard_deviation)]' info:
}
# Sky: the band under the key line is an even blue-grey, bluer than the clear colour (the fog's
# grey, 178 183 191) that shows where no sky is drawn.
sky_above() {
  read -r r g b sd < <(stats "$1" 0 70 800 80)
  echo "  $1 sky band: ($r, $g, $b), deviation $sd"
  [ "$sd" -le 15 ] && [ "$b" -ge $((r + 20)) ] && [ "$r" -ge 100 ] && [ "$b" -le 240 ]
}
# Ground: the bottom band is lit snow, brighter than that sky and textured.
ground_below() {
  read -r sr sg sb ssd < <(stats "$1" 0 70 800 80)
  read -r r g b sd < <(stats "$1" 0 490 800 100)
  echo "  $1 ground band: ($r, $g, $b), deviation $sd"
  [ "$sd" -ge 15 ] && [ $((r + g + b)) -ge $((sr + sg + sb + 15)) ]
}
drawn() { shoot "$1" && sky_above "$1" >/dev/null && ground_below "$1" >/dev/null; }

# Each look takes a second or two (a screenshot and its measures).
ok=0
for _ in $(seq 30); do
  drawn first && { ok=1; break; }
  running || fail "ended before drawing"
  sleep 0.25
done
sky_above first
ground_below first
[ "$ok" = 1 ] || fail "no frame with the sky above and the ground below"
echo "ok: a drawn frame shows the sky above and the ground below"

# The view below the key line, as one picture, for comparing frames.
view() { convert "$work/$1.png" -crop "800x520+$cx+$((cy + 80))" +repage "$work/$1-view.png"; }
differs() {
  local rmse
  rmse=$(compare -metric RMSE "$work/$1-view.png" "$work/$2-view.png" null: 2>&1 | sed 's/.*(\(.*\))/\1/')
  echo "  $1 against $2: RMSE $rmse"
  awk -v v="$rmse" -v t="$3" 'BEGIN { exit !(v > t) }'
}
# A still camera draws the same frame again; walking draws another.
sleep 0.5
shoot still
view first
view still
differs still first 0.002 && fail "the view changed without input"

xdotool mousemove --window "$window" 400 300
xdotool windowfocus --sync "$window" 2>/dev/null || xdotool windowfocus "$window"
sleep 0.3
xdotool keydown w
sleep 1.5
xdotool keyup w
sleep 0.5
shoot walked
view walked
differs walked first 0.03 || fail "holding W did not change the view"
sky_above walked || fail "the sky is gone after walking"
echo "ok: walking changes the view"

python3 "$(dirname "$0")/../support/send_close.py" "$window" || fail "could not send WM_DELETE_WINDOW"
for _ in $(seq 120); do
  running || break
  sleep 0.25
done
running && fail "still running after the close button"
wait "$pid"
status=$?
pid=
[ "$status" -eq 0 ] || fail "exit code $status after close"
grep -qE '^world: [1-9][0-9]* frames' "$work/out.txt" || fail "no last frame reported"
leftovers=$(ls "$work/run")
[ -z "$leftovers" ] || fail "files left behind: $leftovers"
echo "ok: closed with exit code 0, nothing left behind"

# A model named on the command line that does not exist: a message and exit code 1, no files left.
(cd "$work/run" && exec $runner "$program" missing.obj) >"$work/out.txt" 2>&1 &
pid=$!
for _ in $(seq 240); do
  running || break
  sleep 0.25
done
running && fail "still running with a missing model"
wait "$pid"
status=$?
pid=
[ "$status" -eq 1 ] || fail "exit code $status with a missing model"
grep -q 'world: the scene could not be made' "$work/out.txt" || fail "no message for a missing model"
leftovers=$(ls "$work/run")
[ -z "$leftovers" ] || fail "files left behind after a refused model: $leftovers"
echo "ok: a missing model is refused with exit code 1"
