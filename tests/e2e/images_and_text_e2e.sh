#!/usr/bin/env bash
# The images_and_text example on the X display the caller provides (tests/support/with_xvfb.sh),
# natively or, with a runner such as with_wine.sh, as the Windows build: its window opens, draws
# pictures and text, leaves none of the files it makes behind, and Esc ends it with status 0.
#
#   images_and_text_e2e.sh path/to/images_and_text [runner]
set -u

program=$(realpath "$1")
runner=${2:-}
work=$(mktemp -d /tmp/o3d-iat.XXXXXX)
pid=
cleanup() {
  if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then kill "$pid"; wait "$pid" 2>/dev/null; fi
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "images_and_text_e2e: $*" >&2
  cat "$work/out.txt" >&2
  exit 1
}

mkdir "$work/run"
(cd "$work/run" && exec $runner "$program") >"$work/out.txt" 2>&1 &
pid=$!

window=
for _ in $(seq 240); do
  window=$(xdotool search --onlyvisible --name '^Ostrel3D - images and text$' 2>/dev/null | head -n 1)
  [ -n "$window" ] && break
  kill -0 "$pid" 2>/dev/null || fail "ended before its window opened"
  sleep 0.25
done
[ -n "$window" ] || fail "no window titled 'Ostrel3D - images and text'"

# A drawn frame: many colours (pictures, sky, ground, text), including the pure magenta of the
# unkeyed picture and the white of the system-font text.
drawn=0
for _ in $(seq 40); do
  sleep 0.25
  import -window root "$work/shot.png" 2>/dev/null || continue
  colours=$(convert "$work/shot.png" -format %k info:)
  histogram=$(convert "$work/shot.png" -format %c histogram:info:-)
  if [ "${colours:-0}" -ge 200 ] && grep -q '(255,0,255)' <<<"$histogram"; then
    drawn=1
    break
  fi
done
[ "$drawn" = 1 ] || fail "the frame shows too little: $colours colours"
echo "ok: frame drawn ($colours colours)"

xdotool keydown Escape
sleep 0.3
xdotool keyup Escape
for _ in $(seq 80); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.25
done
kill -0 "$pid" 2>/dev/null && fail "still running after Esc"
wait "$pid"
status=$?
pid=
[ "$status" = 0 ] || fail "exit status $status after Esc"
echo "ok: Esc ends it with status 0"
leftovers=$(ls -A "$work/run")
[ -z "$leftovers" ] || fail "files left behind: $leftovers"
echo "ok: nothing left behind"
