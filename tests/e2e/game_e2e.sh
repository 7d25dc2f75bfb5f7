#!/usr/bin/env bash
# The game as a player meets it, on the X display the caller provides (tests/support/with_xvfb.sh),
# natively or, with a runner such as with_wine.sh, as the Windows build, in a folder holding the
# default data (game.dat and intro.avi, as the build makes them): a key skips the intro; the main menu shows; the options screen changes the field of
# view and writes config.ini on leaving; "Nowa gra" loads the level into play; walking changes the view;
# a shot is fired; Esc opens the pause menu; "Wyjscie" ends the program with exit code 0. Closing the window while the intro plays ends
# the program once start-up is done (settings written, exit code 0). Started without game.dat it
# shows its two error boxes (their text also on standard error) and ends with exit code 1.
#
#   game_e2e.sh path/to/game path/to/data-folder [runner]
set -u

program=$(realpath "$1")
data=$(realpath "$2")
runner=${3:-}
support=$(cd "$(dirname "$0")/../support" && pwd)
work=$(mktemp -d /tmp/o3d-game-e2e.XXXXXX)
pid=
cleanup() {
  if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then kill "$pid"; wait "$pid" 2>/dev/null; fi
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "game_e2e: $*" >&2
  cat "$work/out.txt" >&2 2>/dev/null
  exit 1
}
running() { kill -0 "$pid" 2>/dev/null; }
# shellcheck source=window_common.sh
. "$(dirname "$0")/window_common.sh"
shoot() { import -window root "$work/$1.png" 2>/dev/null; }
# The mean brightness (0..255) of the 800 x 600 client area's band at rows y..y+h.
band() {
  convert "$work/$1.png" -crop "800x$3+$cx+$((cy + $2))" +repage -colorspace Gray \
    -format '%[fx:int(255*mean)]' info:
}
# Answers every message box with Return, as a user would, while the program runs.
answer_boxes() {
  for _ in $(seq 80); do
    running || break
    box=$(xdotool search --onlyvisible --name '^(Blad|Ostrzezenie|Info)' 2>/dev/null | head -n 1)
    if [ -n "$box" ]; then
      xdotool windowactivate --sync "$box" 2>/dev/null || xdotool windowfocus "$box" 2>/dev/null
      xdotool key Return
    fi
    sleep 0.25
  done
}
press() {
  xdotool keydown "$1"
  sleep 0.1
  xdotool keyup "$1"
  sleep 0.4
}

mkdir "$work/run" "$work/empty" "$work/closed"
cp "$data/game.dat" "$data/intro.avi" "$work/run/" || fail "no game.dat and intro.avi in $data"
cp "$data/game.dat" "$data/intro.avi" "$work/closed/"

# --- a whole run ---------------------------------------------------------------------------------
# A silent sound driver stands in for a sound card (SDL's dummy one natively, ALSA's null device
# under Wine), so no warning box interrupts the run.
(cd "$work/run" && SDL_AUDIODRIVER=dummy O3D_WINE_NULL_AUDIO=1 exec $runner "$program") >"$work/out.txt" 2>&1 &
pid=$!
find_window 'Ostrel3D'
client_origin
xdotool mousemove --window "$window" 400 300
xdotool windowfocus --sync "$window" 2>/dev/null || xdotool windowfocus "$window"

# The intro plays, then a key skips it; the menu's dark blue-grey background follows.
sleep 1
press space
menu=0
for _ in $(seq 40); do
  shoot menu
  b=$(band menu 500 40)
  # The menu background (0.1, 0.1, 0.15) is dark but not black.
  if [ "$b" -ge 15 ] && [ "$b" -le 40 ]; then menu=1; break; fi
  running || fail "ended before its menu"
  sleep 0.25
done
[ "$menu" = 1 ] || fail "no main menu after the intro"
echo "ok: the intro skipped and the main menu shown"

press Down
press Return # Opcje
press Down
press Down   # Pole widzenia
press Right
press Escape # back to the main menu on "Opcje", config.ini written
for _ in $(seq 20); do
  [ -f "$work/run/config.ini" ] && break
  sleep 0.25
done
# The file's lines end with the platform's line end (CR LF on Windows).
settings() { tr -d '\r' <"$work/run/config.ini" 2>/dev/null; }
settings | grep -q '^FOV=60.0$' && fail "the field of view did not change"
settings | grep -q '^FOV=[0-9]*\.[0-9]$' || fail "no config.ini written by the options"
settings | grep -q '^MasterVolume=100$' || fail "config.ini lacks its other lines"
echo "ok: the options wrote $(settings | grep '^FOV=')"

press Up
press Return # Nowa gra: the loading screen, then play
sleep 2
running || fail "ended on a new game"
# Walking changes the view.
shoot before_walk
xdotool keydown w
sleep 1
xdotool keyup w
shoot after_walk
convert "$work/before_walk.png" -crop "800x600+$cx+$cy" +repage "$work/view1.png"
convert "$work/after_walk.png" -crop "800x600+$cx+$cy" +repage "$work/view2.png"
changed=$(compare -metric AE -fuzz 5% "$work/view1.png" "$work/view2.png" null: 2>&1 | cut -d' ' -f1)
[ "${changed%.*}" -gt 10000 ] 2>/dev/null || fail "walking did not change the view ($changed pixels)"
echo "ok: walking changed the view ($changed pixels)"
# A shot (its flash and sound are checked in-process, where a frame can be held still).
xdotool mousedown 1
sleep 0.05
xdotool mouseup 1
sleep 0.3
running || fail "ended on a shot"
press Escape # the pause menu
shoot paused
b=$(band paused 500 40)
[ "$b" -ge 15 ] && [ "$b" -le 40 ] || fail "no pause menu (brightness $b)"
echo "ok: a new game reached play and Esc opened the pause menu"
press Up
press Return # Wyjscie
for _ in $(seq 40); do
  running || break
  sleep 0.25
done
running && fail "still running after Wyjscie"
wait "$pid"
status=$?
pid=
[ "$status" = 0 ] || fail "exit code $status after Wyjscie"
ls "$work/run" | grep -q '^temp_' && fail "temporary files left: $(ls "$work/run" | grep '^temp_')"
echo "ok: Wyjscie ended the game with exit code 0"

# --- the window closed during the intro ---------------------------------------------------------
(cd "$work/closed" && SDL_AUDIODRIVER=dummy O3D_WINE_NULL_AUDIO=1 exec $runner "$program") \
  >"$work/out.txt" 2>&1 &
pid=$!
find_window 'Ostrel3D'
sleep 1
python3 "$support/send_close.py" "$window" || fail "could not press the close button"
for _ in $(seq 40); do
  running || break
  sleep 0.25
done
running && fail "still running after its window was closed during the intro"
wait "$pid"
status=$?
pid=
[ "$status" = 0 ] || fail "exit code $status after closing the window during the intro"
[ -f "$work/closed/config.ini" ] || fail "no config.ini: start-up or shutdown did not finish"
echo "ok: closing the window during the intro ended the game after start-up, exit code 0"

# --- without game.dat ----------------------------------------------------------------------------
(cd "$work/empty" && exec $runner "$program") >"$work/out.txt" 2>&1 &
pid=$!
answer_boxes
running && fail "still running without game.dat"
wait "$pid"
status=$?
pid=
[ "$status" = 1 ] || fail "exit code $status without game.dat"
text='BLAD: Nie mozna otworzyc paczki game.dat!'
# The boxes' texts reach standard error on the sdl backend only.
[ -n "$runner" ] && { echo "ok: without game.dat exit code 1"; exit 0; }
grep -qxF "Blad: $text" "$work/out.txt" || fail "no first box on standard error"
grep -qxF "Blad inicjalizacji gry: $text" "$work/out.txt" || fail "no second box on standard error"
echo "ok: without game.dat two error boxes and exit code 1"
