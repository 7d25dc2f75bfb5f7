#!/usr/bin/env bash
# The sound_and_video example on the X display the caller provides (tests/support/with_xvfb.sh),
# natively or, with a runner such as with_wine.sh, as the Windows build.
#  1. Without arguments: its window shows the sound panel, its first tone plays (the status line
#     says so and the position moves; natively SDL's disk driver must have written it at its
#     level), keys choose and change a sound, and Esc ends it with status 0.
#  2. With --video: the blocking player plays the film to its end and returns 1, the film then
#     plays on behind the panel (natively its picture shows there), and Esc ends it with status 0.
#
#   sound_and_video_e2e.sh path/to/sound_and_video path/to/make_film [runner]
set -u

program=$(realpath "$1")
make_film=$(realpath "$2")
runner=${3:-}
work=$(mktemp -d /tmp/o3d-sav.XXXXXX)
pid=
cleanup() {
  if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then kill "$pid"; wait "$pid" 2>/dev/null; fi
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "sound_and_video_e2e: $*" >&2
  cat "$work/out.txt" >&2
  exit 1
}
running() { kill -0 "$pid" 2>/dev/null; }
# Polls a check four times a second for up to $1 seconds while the program runs.
wait_for() {
  local tries=$(($1 * 4))
  shift
  while [ "$tries" -gt 0 ]; do
    "$@" && return 0
    running || return 1
    sleep 0.25
    tries=$((tries - 1))
  done
  return 1
}
printed() { grep -q -- "$1" "$work/out.txt"; }
find_window() {
  window=$(xdotool search --onlyvisible --name '^Ostrel3D - sound and video$' 2>/dev/null | head -n 1)
  [ -n "$window" ]
}
# The screen shows the panel's several colours, among them $1 (an "r,g,b" of the histogram).
shows() {
  import -window root "$work/shot.png" 2>/dev/null || return 1
  local colours
  colours=$(convert "$work/shot.png" -format %k info:)
  [ "${colours:-0}" -ge 8 ] && convert "$work/shot.png" -format %c histogram:info:- | grep -q "($1)"
}
press() {
  xdotool keydown "$1"
  sleep 0.15
  xdotool keyup "$1"
  sleep 0.15
}
start() {
  : >"$work/out.txt"
  (cd "$work/run" && exec $runner "$program" "$@") >"$work/out.txt" 2>&1 &
  pid=$!
  wait_for 120 find_window || fail "no window titled 'Ostrel3D - sound and video'"
  # No window manager gives the window the keyboard: give it before typing.
  xdotool mousemove --window "$window" 400 300
  xdotool windowfocus --sync "$window" 2>/dev/null || xdotool windowfocus "$window"
}
finish() {
  press Escape
  local tries=80
  while running && [ "$tries" -gt 0 ]; do
    sleep 0.25
    tries=$((tries - 1))
  done
  running && fail "still running after Esc"
  wait "$pid"
  local status=$?
  pid=
  [ "$status" -eq 0 ] || fail "exit status $status"
  printed "sound_and_video: done" || fail "did not end its loop"
}
# Positions of the status lines for sound 1 that say it plays; two different ones mean it moves.
moving() {
  [ "$(grep -c 'status: sound 1 playing 1' "$work/out.txt")" -ge 2 ] &&
    [ "$(grep 'status: sound 1 playing 1' "$work/out.txt" | awk '{print $7}' | sort -u | wc -l)" -ge 2 ]
}

film_moving() {
  [ "$(grep -oE 'film [0-9]+\.[0-9]+' "$work/out.txt" | sort -u | wc -l)" -ge 2 ]
}

mkdir "$work/run"
if [ -z "$runner" ]; then
  export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work/mixed.raw"
fi

# 1. The sound panel and its own tones.
start
wait_for 30 printed "sound_and_video: sound on" || fail "the sound device did not open"
wait_for 30 moving || fail "the first tone is not playing, or its position does not move"
# The master volume bar (0.9, 0.8, 0.2) and the volume bars (0.3, 0.8, 0.3).
wait_for 20 shows "230,204,51" || fail "the panel is not drawn"
shows "76,204,76" || fail "no volume bars"
# Looping: under Wine, ALSA's null device drains a sound faster than real time, so a sound played
# once may end between two status lines.
press 2
press l
press Left
press Left
wait_for 10 printed "status: sound 2 playing 1 position [0-9]* volume 100 pan -20 speed 100" ||
  fail "keys 2, L and Left did not loop the chord panned left"
finish
if [ -z "$runner" ]; then
  # The 440 Hz tone is half of full scale: the written output must reach close to that.
  peak=$(python3 -c "
import array, sys
a = array.array('h', open(sys.argv[1], 'rb').read()[: 44100 * 4 * 20 // 2 * 2])
print(max(abs(v) for v in a) if a else 0)" "$work/mixed.raw")
  [ "${peak:-0}" -ge 15000 ] || fail "the disk driver's output peaks at ${peak:-nothing}, not the tone's 16383"
  echo "ok: tone heard at peak $peak"
fi
echo "ok: sound panel drawn, keys work, Esc ends with status 0"

# 2. A film: blocking to its end, then behind the panel.
(cd "$work/run" && exec $runner "$make_film" film.avi 2) >"$work/film.txt" 2>&1 ||
  { cat "$work/film.txt" >&2; fail "could not write the film"; }
start --video film.avi
wait_for 60 printed "blocking film returned 1" || fail "the blocking player did not play the film to its end"
wait_for 30 film_moving || fail "the film does not play on behind the panel"
wait_for 10 shows "230,204,51" || fail "the panel is not drawn over the film"
# Natively the film is drawn through OpenGL under the panel. Wine draws the renderer's child
# window under the OpenGL surface, so there only its position is checked.
if [ -z "$runner" ]; then
  wait_for 10 shows "200,40,120" || fail "the film's picture does not show behind the panel"
fi
finish
echo "ok: film played to its end, then shown behind the panel"
