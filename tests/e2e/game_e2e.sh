#!/usr/bin/env bash
# The game as a player meets it, on the X display the caller provides (tests/support/with_xvfb.sh),
# in a folder holding the default data (game.dat and intro.avi, made here with assetgen and
# o3dpack): a key skips the intro; the main menu shows; the options screen changes the field of
# view and writes config.ini on leaving; "Nowa gra" loads the level into play; Esc opens the pause
# menu; "Wyjscie" ends the program with exit code 0. Started without game.dat it shows its two
# error boxes (their text also on standard error) and ends with exit code 1.
#
#   game_e2e.sh path/to/game path/to/assetgen path/to/o3dpack
set -u

program=$(realpath "$1")
assetgen=$(realpath "$2")
o3dpack=$(realpath "$3")
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
shoot() { import -window root "$work/$1.png" 2>/dev/null; }
# The mean brightness (0..255) of the 800 x 600 client area's band at rows y..y+h.
band() {
  convert "$work/$1.png" -crop "800x$3+0+$2" +repage -colorspace Gray \
    -format '%[fx:int(255*mean)]' info:
}
press() {
  xdotool keydown "$1"
  sleep 0.1
  xdotool keyup "$1"
  sleep 0.4
}

mkdir "$work/data" "$work/run" "$work/empty"
"$assetgen" "$work/data" >/dev/null || fail "assetgen failed"
(cd "$work/data" && "$o3dpack" create "$work/run/game.dat" $(ls | grep -v '^intro\.avi$') >/dev/null) ||
  fail "o3dpack failed"
cp "$work/data/intro.avi" "$work/run/"

# --- a whole run ---------------------------------------------------------------------------------
# SDL's silent sound driver stands in for a sound card, so no warning box interrupts the run.
(cd "$work/run" && SDL_AUDIODRIVER=dummy exec "$program") >"$work/out.txt" 2>&1 &
pid=$!
window=
for _ in $(seq 240); do
  window=$(xdotool search --onlyvisible --name '^Ostrel3D$' 2>/dev/null | head -n 1)
  [ -n "$window" ] && break
  running || fail "ended before its window opened"
  sleep 0.25
done
[ -n "$window" ] || fail "no window titled 'Ostrel3D'"
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
grep -q '^FOV=60.0$' "$work/run/config.ini" 2>/dev/null && fail "the field of view did not change"
grep -q '^FOV=[0-9]*\.[0-9]$' "$work/run/config.ini" || fail "no config.ini written by the options"
grep -q '^MasterVolume=100$' "$work/run/config.ini" || fail "config.ini lacks its other lines"
echo "ok: the options wrote $(grep '^FOV=' "$work/run/config.ini")"

press Up
press Return # Nowa gra: the loading screen, then play
sleep 2
running || fail "ended on a new game"
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

# --- without game.dat ----------------------------------------------------------------------------
(cd "$work/empty" && exec "$program") >"$work/out.txt" 2>&1 &
pid=$!
# Each box is answered with Return as a user would (where the desktop can show one).
for _ in $(seq 80); do
  running || break
  box=$(xdotool search --onlyvisible --name '^Blad' 2>/dev/null | head -n 1)
  if [ -n "$box" ]; then
    xdotool windowactivate --sync "$box" 2>/dev/null || xdotool windowfocus "$box" 2>/dev/null
    xdotool key Return
  fi
  sleep 0.25
done
running && fail "still running without game.dat"
wait "$pid"
status=$?
pid=
[ "$status" = 1 ] || fail "exit code $status without game.dat"
text='BLAD: Nie mozna otworzyc paczki game.dat!'
grep -qxF "Blad: $text" "$work/out.txt" || fail "no first box on standard error"
grep -qxF "Blad inicjalizacji gry: $text" "$work/out.txt" || fail "no second box on standard error"
echo "ok: without game.dat two error boxes and exit code 1"
