#!/usr/bin/env bash
# The model_viewer example on the X display the caller provides (tests/support/with_xvfb.sh),
# natively or, with a runner such as with_wine.sh, as the Windows build: with no argument it shows
# its own model standing on the ground over its shadow; paused, the picture holds still, and a row
# change shows another pose; the close button ends it with status 0 and no files left behind.
#
#   model_viewer_e2e.sh path/to/model_viewer [runner]
#   KEEP_SHOTS=folder keeps the screenshots there, to look at them.
set -u

program=$(realpath "$1")
runner=${2:-}
support=$(cd "$(dirname "$0")/../support" && pwd)
work=$(mktemp -d /tmp/o3d-viewer.XXXXXX)
pid=
cleanup() {
  if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then kill "$pid"; wait "$pid" 2>/dev/null; fi
  [ -n "${KEEP_SHOTS:-}" ] && cp "$work"/*.png "$KEEP_SHOTS"/ 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "model_viewer_e2e: $*" >&2
  cat "$work/out.txt" >&2
  exit 1
}
running() { kill -0 "$pid" 2>/dev/null; }
# shellcheck source=window_common.sh
. "$(dirname "$0")/window_common.sh"

# The ground (0.56, 0.62, 0.68) under the shadow's black at alpha 0.45.
shadow_colour="79 87 95"

# Pixels of $1 within $5 of the colour $2 $3 $4 in every channel.
count_near() {
  convert "$1" -format %c histogram:info:- |
    sed -E 's/^ *([0-9]+): *\( *([0-9]+), *([0-9]+), *([0-9]+).*/\1 \2 \3 \4/' |
    awk -v r="$2" -v g="$3" -v b="$4" -v t="$5" '
      function near(a, c) { return a - c <= t && c - a <= t }
      near($2, r) && near($3, g) && near($4, b) { n += $1 } END { print n + 0 }'
}

# Pixels of $1 in the model's snowy white: bright and nearly grey.
count_snow() {
  convert "$1" -format %c histogram:info:- |
    sed -E 's/^ *([0-9]+): *\( *([0-9]+), *([0-9]+), *([0-9]+).*/\1 \2 \3 \4/' |
    awk '{ lo = $2; hi = $2; for (i = 3; i <= 4; i++) { if ($i < lo) lo = $i; if ($i > hi) hi = $i } }
         lo >= 170 && hi - lo <= 45 { n += $1 } END { print n + 0 }'
}

# The middle of the window, where the model and its shadow stand and no overlay text reaches.
shoot() {
  import -window "$window" "$work/full.png" 2>/dev/null &&
    convert "$work/full.png" -gravity center -crop 240x360+0+10 +repage "$work/$1.png"
}

differing() { compare -metric AE "$work/$1.png" "$work/$2.png" null: 2>&1 | cut -d' ' -f1; }

mkdir "$work/run"
(cd "$work/run" && exec $runner "$program") >"$work/out.txt" 2>&1 &
pid=$!

find_window 'Ostrel3D - model viewer' 480

drawn=0
for _ in $(seq 60); do
  sleep 0.25
  shoot first || continue
  shadow=$(count_near "$work/first.png" $shadow_colour 3)
  snow=$(count_snow "$work/first.png")
  if [ "$shadow" -ge 300 ] && [ "$snow" -ge 1500 ]; then
    drawn=1
    break
  fi
done
[ "$drawn" = 1 ] || fail "no model over a shadow: $snow snowy and $shadow shadow pixels"
echo "ok: the model stands over its shadow ($snow snowy and $shadow shadow pixels)"

# Keys reach the window once it has the focus (nothing gives it one without a window manager).
xdotool mousemove --window "$window" 700 500
xdotool windowfocus --sync "$window" 2>/dev/null || xdotool windowfocus "$window"
press() {
  xdotool keydown "$1"
  sleep 0.2
  xdotool keyup "$1"
}
press space
sleep 1
shoot paused1 || fail "no screenshot"
sleep 0.6
shoot paused2 || fail "no screenshot"
[ "$(differing paused1 paused2)" = 0 ] || fail "the paused picture still moves"
press Up
for _ in $(seq 40); do
  grep -q "row 1 (frames 40-45" "$work/out.txt" && break
  sleep 0.25
done
grep -q "row 1 (frames 40-45" "$work/out.txt" || fail "Up did not change the row"
sleep 0.8
shoot row1 || fail "no screenshot"
changed=$(differing paused2 row1)
[ "${changed:-0}" -ge 300 ] || fail "the row change left the pose alone ($changed pixels differ)"
echo "ok: paused it holds still; the next row changes $changed pixels of the pose"

python3 "$support/send_close.py" "$window" || fail "could not press the close button"
for _ in $(seq 80); do
  running || break
  sleep 0.25
done
running && fail "still running after the close button"
wait "$pid"
status=$?
pid=
[ "$status" = 0 ] || fail "exit status $status after closing"
echo "ok: the close button ends it with status 0"
leftovers=$(ls -A "$work/run")
[ -z "$leftovers" ] || fail "files left behind: $leftovers"
echo "ok: nothing left behind"
