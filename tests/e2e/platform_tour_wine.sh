#!/usr/bin/env bash
# The Windows build of platform_tour under Wine, on the X display the caller provides
# (tests/support/with_xvfb.sh): the window "Ostrel3D" opens and draws the scene, Alt+Enter from
# the real keyboard goes to full screen and back, and the close button ends the program after a
# last frame with exit code 0.
#
#   platform_tour_wine.sh path/to/platform_tour.exe
set -u

exe=$(realpath "$1")
support=$(cd "$(dirname "$0")/../support" && pwd)
work=$(mktemp -d /tmp/o3d-tour-wine.XXXXXX)
pid=
# The example clears to (0.05, 0.07, 0.12): what most of a drawn frame must be.
clear_colour="13,18,31"

cleanup() {
  if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then
    kill "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
  fi
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "platform_tour_wine: $*" >&2
  echo "--- program output:" >&2
  cat "$work/out.txt" >&2
  exit 1
}

running() { kill -0 "$pid" 2>/dev/null; }

# Polls a check every quarter second for up to $1 seconds while the program runs.
wait_for() {
  local seconds=$1
  shift
  local tries=$((seconds * 4))
  while [ "$tries" -gt 0 ]; do
    "$@" && return 0
    running || return 1
    sleep 0.25
    tries=$((tries - 1))
  done
  return 1
}

find_window() {
  wid=$(xdotool search --onlyvisible --name '^Ostrel3D$' 2>/dev/null | head -n 1)
  [ -n "$wid" ]
}

# Drawn means: the clear colour covers most of the screen and the grid and overlay add many more.
frame_drawn() {
  import -window root "$work/shot.png" 2>/dev/null || return 1
  local colours top
  colours=$(convert "$work/shot.png" -format %k info:)
  top=$(convert "$work/shot.png" -format %c histogram:info:- | sort -rn | head -n 1)
  [ "${colours:-0}" -ge 16 ] && [[ $top == *"($clear_colour)"* ]]
}

printed() { grep -q "$1" "$work/out.txt"; }

window_covers_screen() {
  local geometry
  geometry=$(xdotool getwindowgeometry "$wid" 2>/dev/null)
  [[ $geometry == *"Position: 0,0 "* && $geometry == *"Geometry: 800x600"* ]]
}

# Presses the window's close button as the window manager would: WM_DELETE_WINDOW.
send_close() { python3 "$support/send_close.py" "$1"; }

[ -n "${DISPLAY:-}" ] || fail "no X display; run under tests/support/with_xvfb.sh"
[ -f "$exe" ] || fail "no program at $exe"

cd "$work" || exit 1
"$support/with_wine.sh" "$exe" >"$work/out.txt" 2>"$work/err.txt" &
pid=$!

# The first start of a Wine prefix is slow; later ones take a few seconds.
wait_for 120 find_window || fail "no window titled Ostrel3D appeared"
wait_for 20 frame_drawn || fail "the screen stays blank or not cleared to ($clear_colour)"

# Alt+Enter reaches a Win32 window as WM_SYSKEYDOWN; both directions must toggle.
# With no window manager nothing gives the window the keyboard focus; give it before typing.
xdotool mousemove --window "$wid" 400 300
xdotool windowfocus --sync "$wid" 2>/dev/null || xdotool windowfocus "$wid"
sleep 0.3
xdotool key alt+Return
wait_for 10 printed "fullscreen 1" || fail "Alt+Enter did not enter full screen"
wait_for 10 window_covers_screen || fail "the full-screen window does not cover the screen"
xdotool key alt+Return
wait_for 10 printed "fullscreen 0" || fail "Alt+Enter did not leave full screen"
wait_for 20 frame_drawn || fail "nothing drawn after leaving full screen"

send_close "$wid" || fail "could not send WM_DELETE_WINDOW"
tries=120
while running && [ "$tries" -gt 0 ]; do
  sleep 0.25
  tries=$((tries - 1))
done
running && fail "the close button did not end the program"
wait "$pid"
status=$?
pid=
[ "$status" -eq 0 ] || fail "exit code $status after close"
printed "platform_tour: [0-9]* frames" || fail "the program did not finish its last frame"
echo "platform_tour_wine: drawn, Alt+Enter toggled both ways, closed with exit code 0"
