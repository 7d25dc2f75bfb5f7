#!/usr/bin/env bash
# A long play session of the real game under its own Xvfb, driven by real X input: the intro
# skipped, the options changed and saved, new games, walking, mouse look, the pause menu, the
# beast shot until it dies and fades, the beast left to kill the player (GAME OVER), back to the
# menu and round again until the time is up; then the window's close button. Every few seconds
# the process's resident memory and open files are sampled. Fails when either keeps growing, when
# the game stops answering or crashes, when it does not end with exit code 0, or when it leaves
# files behind.
#
#   soak.sh [minutes] [path/to/game] [path/to/data-folder]
#
# Defaults: 2 minutes, build/data/game, build/data (the folder holding game.dat and intro.avi).
# The game runs in a scratch copy of the data folder, so nothing there changes.
# O3D_SOAK_INTERVAL sets the seconds between samples (2); O3D_SOAK_SAMPLES names a file to keep
# the samples in ("seconds resident_kb open_files" a line).
set -u

here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
support=$root/tests/support
# Its own display: a session must not share a screen (or input) with anything else.
if [ -z "${O3D_SOAK_DISPLAY:-}" ]; then
  O3D_SOAK_DISPLAY=1 exec "$support/with_xvfb.sh" "$0" "$@"
fi

minutes=${1:-2}
program=$(realpath "${2:-$root/build/data/game}")
data=$(realpath "${3:-$root/build/data}")
interval=${O3D_SOAK_INTERVAL:-2}
[[ $minutes =~ ^[0-9]+([.][0-9]+)?$ ]] || { echo "soak: minutes must be a number" >&2; exit 2; }
[ -x "$program" ] || { echo "soak: no game program at $program" >&2; exit 2; }

start=$SECONDS
tmp_before=$(ls -A /tmp | sort)
# Files the game has from before it started are not its leftovers: the ones this script holds
# open (the game inherits them; ctest's log among them), the program, its data and the source tree
# (which may itself lie under /tmp).
inherited=$(for fd in /proc/$$/fd/*; do readlink "$fd"; done 2>/dev/null | grep '^/' | sort -u)
work=$(mktemp -d /tmp/o3d-soak.XXXXXX)
pid=
sampler=
cleanup() {
  [ -n "${O3D_SOAK_SAMPLES:-}" ] && cp "$work/samples" "$O3D_SOAK_SAMPLES" 2>/dev/null
  [ -n "$sampler" ] && kill "$sampler" 2>/dev/null
  if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then
    # A stopped or stuck game gets its terminate signal, then the kill.
    kill "$pid"
    kill -CONT "$pid" 2>/dev/null
    for _ in $(seq 40); do kill -0 "$pid" 2>/dev/null || break; sleep 0.25; done
    kill -KILL "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
  fi
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "soak: FAIL: $*" >&2
  summary >&2
  echo "--- the game's output ---" >&2
  tail -n 40 "$work/out.txt" >&2 2>/dev/null
  exit 1
}
running() { kill -0 "$pid" 2>/dev/null; }
# shellcheck source=tests/e2e/window_common.sh source-path=SCRIPTDIR/..
. "$root/tests/e2e/window_common.sh"

kills=0 deaths=0 new_games=0 rounds=0 options_saved=0
summary() {
  [ -n "${summarized:-}" ] && return
  summarized=1
  echo "soak: $rounds rounds in $((SECONDS - start)) s: $new_games new games ($((new_games > 0 ? new_games - 1 : 0)) restarts), $kills kills of the beast, $deaths deaths of the player, options saved $options_saved times"
  [ -s "$work/samples" ] && python3 "$here/soak_trend.py" "$work/samples" "${warmup:-0}" | sed 's/^/soak: /'
}

# --- the scratch folders -------------------------------------------------------------------------
# run/ is the game's working folder (game.dat, intro.avi, config.ini and its staging files); home/
# takes what libraries keep for a user (caches, the sound server's runtime folder, as a desktop
# session has them); tmp/ the temporary files of the game and its libraries.
mkdir "$work/run" "$work/home" "$work/home/runtime" "$work/tmp"
chmod 700 "$work/home/runtime"
cp "$data/game.dat" "$data/intro.avi" "$work/run/" || { echo "soak: no game.dat and intro.avi in $data" >&2; exit 2; }
# Settings as the game writes them by default, so the folder holds the same names at the end.
printf '[Video]\nFullscreen=0\nFOV=60.0\nDrawDistance=1000.0\n\n[Graphics]\nShadowQuality=1\n\n[Audio]\nMasterVolume=100\n' \
  >"$work/run/config.ini"
listing() { (cd "$1" && find . -mindepth 1 | sort); }
run_before=$(listing "$work/run")

(cd "$work/run" && HOME="$work/home" XDG_CACHE_HOME="$work/home/.cache" \
  XDG_RUNTIME_DIR="$work/home/runtime" TMPDIR="$work/tmp" \
  SDL_AUDIODRIVER=dummy exec "$program") >"$work/out.txt" 2>&1 &
pid=$!

# --- sampling --------------------------------------------------------------------------------------
# Every few seconds: resident memory, open files, and every file under /tmp outside the scratch
# folder that the game holds open or mapped (to find later whether any was left behind). A
# vanished process ends the sampler.
(
  while kill -0 "$pid" 2>/dev/null; do
    rss=$(awk '/^VmRSS:/ {print $2}' "/proc/$pid/status" 2>/dev/null)
    files=$(ls "/proc/$pid/fd" 2>/dev/null | wc -l)
    [ -n "$rss" ] && echo "$((SECONDS - start)) $rss $files" >>"$work/samples"
    { for fd in "/proc/$pid/fd"/*; do readlink "$fd"; done
      awk '$6 ~ /^\// {print $6}' "/proc/$pid/maps"; } 2>/dev/null | grep '^/tmp/' >>"$work/held"
    sleep "$interval"
  done
) &
sampler=$!

# --- seeing the screen ---------------------------------------------------------------------------
grab() { xwd -root -silent >"$work/$1.xwd" 2>/dev/null || fail "could not grab the screen"; }
# The mean brightness (0..255) of the client area's band of rows y..y+h of grab NAME.
band() {
  convert "xwd:$work/$1.xwd" -crop "800x$3+$cx+$((cy + $2))" +repage -colorspace Gray \
    -format '%[fx:int(255*mean)]' info:
}
# Pixels that differ between two grabs' client areas (5 % fuzz).
changed() {
  local n
  convert "xwd:$work/$1.xwd" -crop "800x600+$cx+$cy" +repage "$work/a.png"
  convert "xwd:$work/$2.xwd" -crop "800x600+$cx+$cy" +repage "$work/b.png"
  n=$(compare -metric AE -fuzz 5% "$work/a.png" "$work/b.png" null: 2>&1 | cut -d' ' -f1)
  echo "${n%.*}"
}
# Width in pixels of the red part of the beast's health bar (300 wide, at the top centre).
red_width() {
  convert "xwd:$work/$1.xwd" -crop "300x1+$((cx + 250))+$((cy + 20))" +repage \
    -fx 'r>0.75 && g<0.3 && b<0.3' -format '%[fx:int(mean*w+0.5)]' info:
}
# The bar's white frame shows while the beast is in the level.
beast_shown() {
  local n
  n=$(convert "xwd:$work/$1.xwd" -crop "300x1+$((cx + 250))+$((cy + 10))" +repage \
    -fx 'r>0.8 && g>0.8 && b>0.8' -format '%[fx:int(mean*w+0.5)]' info:)
  [ "$n" -gt 200 ]
}
# The menus' dark blue-grey background (brightness about 25) below their items.
is_menu() { local b; b=$(band "$1" 500 40); [ "$b" -ge 15 ] && [ "$b" -le 40 ]; }
# The death screen: black everywhere but the GAME OVER text in the middle.
is_dead_screen() { [ "$(band "$1" 40 200)" -le 6 ] && [ "$(band "$1" 400 150)" -le 6 ]; }

# The game draws without a frame cap, so while it runs it keeps using processor time; a game
# that is stopped or blocked does not.
cpu_time() { awk '{print $14 + $15}' "/proc/$pid/stat" 2>/dev/null; }
cpu_seen=0 cpu_since=$SECONDS
alive() {
  running || { wait "$pid"; fail "the game ended by itself (exit code $?)"; }
  xdotool getwindowname "$window" >/dev/null 2>&1 || fail "the game's window is gone"
  local state now
  state=$(awk '{print $3}' "/proc/$pid/stat" 2>/dev/null)
  [ "$state" = T ] && fail "the game stopped answering: its process is stopped"
  now=$(cpu_time)
  if [ "${now:-0}" != "$cpu_seen" ]; then
    cpu_seen=${now:-0} cpu_since=$SECONDS
  elif [ $((SECONDS - cpu_since)) -ge 30 ]; then
    fail "the game stopped answering: no processor time used in $((SECONDS - cpu_since)) s"
  fi
}
# Keys are polled once a frame, so a press must last a frame or two to be seen; on a loaded
# machine a frame can take longer than that, so every step that counts is checked on screen and
# pressed again when it was lost.
press() { xdotool keydown "$1"; sleep 0.15; xdotool keyup "$1"; sleep 0.35; }
# A click whose press and release fall within one frame is not seen: kill_beast lengthens the
# hold when shots stop telling.
hold=0.1
fire() { xdotool mousedown 1; sleep "$hold"; xdotool mouseup 1; sleep "$hold"; }
# wait_for WHAT SECONDS TEST: grabs the screen until TEST (given the grab's name) holds.
wait_for() {
  local what=$1 seconds=$2 test=$3 until=$((SECONDS + $2))
  grab first
  while :; do
    alive
    grab now
    "$test" now && return 0
    if [ "$SECONDS" -ge "$until" ]; then
      [ "$(changed first now)" -gt 0 ] && fail "no $what within $seconds s"
      fail "no $what within $seconds s (the picture did not change meanwhile)"
    fi
    sleep 0.5
  done
}
# press_until KEY WHAT TEST [SECONDS]: presses KEY, again every few seconds, until TEST holds.
# Only for keys that do nothing once their step is done (Esc in a menu, Enter in play).
press_until() {
  local key=$1 what=$2 test=$3 until=$((SECONDS + ${4:-60})) next
  while :; do
    press "$key"
    next=$((SECONDS + 4))
    while [ "$SECONDS" -lt "$next" ]; do
      alive
      grab now
      "$test" now && return 0
      sleep 0.3
    done
    [ "$SECONDS" -ge "$until" ] && fail "no $what within ${4:-60} s"
  done
}
# changes_within SECONDS: grabs the screen until it differs from grab "before" (a slow frame may
# still be on its way).
changes_within() {
  local until=$((SECONDS + $1))
  while :; do
    alive
    grab after
    [ "$(changed before after)" -gt 50 ] && return 0
    [ "$SECONDS" -ge "$until" ] && return 1
    sleep 0.3
  done
}
# reacts WHAT KEY: the picture changes when KEY is pressed (pressed again when the press was lost).
reacts() {
  local what=$1 key=$2
  grab before
  for _ in 1 2 3; do
    press "$key"
    changes_within 3 && return 0
  done
  fail "the game did not answer: $what changed nothing on screen"
}
time_up() { [ "$SECONDS" -ge "$deadline" ]; }

# The menus' items, 50 pixels apart: the first one's row and the count of each screen.
menu_layout() {
  case $1 in
    main) echo "250 3" ;;
    pause) echo "225 4" ;;
    options) echo "175 7" ;;
  esac
}
# highlighted GRAB MENU: the index of the item drawn in the highlight's yellow, or -1.
highlighted() {
  local first count i n
  read -r first count < <(menu_layout "$2")
  for ((i = 0; i < count; i++)); do
    n=$(convert "xwd:$work/$1.xwd" -crop "800x22+$cx+$((cy + first + 50 * i))" +repage \
      -fx 'r>0.9 && g>0.9 && b<0.3' -format '%[fx:int(mean*w*h+0.5)]' info:)
    [ "$n" -gt 20 ] && { echo "$i"; return; }
  done
  echo -1
}
is_main_menu() { is_menu "$1" && [ "$(highlighted "$1" main)" -ge 0 ]; }
is_pause_menu() { is_menu "$1" && [ "$(highlighted "$1" pause)" -ge 0 ]; }
is_options() { is_menu "$1" && [ "$(highlighted "$1" options)" -ge 0 ]; }
# select_item MENU INDEX: Up or Down until that item is highlighted.
select_item() {
  local cur
  for _ in $(seq 30); do
    alive
    grab now
    cur=$(highlighted now "$1")
    [ "$cur" = "$2" ] && return 0
    if [ "$cur" -lt 0 ]; then
      sleep 0.3
    elif [ "$cur" -gt "$2" ]; then
      press Up
    else
      press Down
    fi
  done
  fail "could not highlight item $2 of the $1 screen (highlighted: $cur)"
}

# --- start-up ------------------------------------------------------------------------------------
find_window 'Ostrel3D'
client_origin
xdotool mousemove --window "$window" 400 300
xdotool windowfocus --sync "$window" 2>/dev/null || xdotool windowfocus "$window"
sleep 1
press_until space "main menu after the intro" is_main_menu 90
deadline=$(python3 -c "print(int($start + float('$minutes') * 60))")
echo "soak: the game is up (pid $pid); playing for $minutes minutes"

# --- one round -----------------------------------------------------------------------------------
# The options screen: field of view, draw distance, shadows and volume changed (one way in odd
# rounds, back in even ones, so no value runs into its limit) and saved by leaving with Esc.
options() {
  local turn=Right back=Left before
  [ $((rounds % 2)) = 1 ] && { turn=Left back=Right; }
  before=$(grep '^FOV=' "$work/run/config.ini")
  select_item main 1
  press_until Return "options screen" is_options
  select_item options 2
  reacts "the field of view" "$turn"
  select_item options 3
  press "$back"
  select_item options 4
  press "$turn"
  select_item options 5
  press "$back"
  press_until Escape "main menu after the options" is_main_menu
  for _ in $(seq 20); do
    [ "$(grep '^FOV=' "$work/run/config.ini")" != "$before" ] && break
    sleep 0.25
  done
  [ "$(grep '^FOV=' "$work/run/config.ini")" != "$before" ] || fail "leaving the options did not save the field of view"
  options_saved=$((options_saved + 1))
}

# A new game from the main menu (the first one loads the level).
new_game_from_menu() {
  select_item main 0
  press_until Return "play after a new game" play_started 90
  new_games=$((new_games + 1))
  # Warm-up: start-up, the level's load and its first frames (the GL driver builds its caches).
  [ -n "${warmup:-}" ] || warmup=$((SECONDS - start + 30))
}
play_started() { ! is_menu "$1" && beast_shown "$1"; }

walk_and_look() {
  grab before
  xdotool keydown w
  sleep 1
  xdotool keyup w
  changes_within 10 || fail "the game did not answer: walking changed nothing on screen"
  # Mouse look: the cursor is taken back to the centre every frame; a move turns the view.
  grab before
  turn 150
  changes_within 10 || fail "the game did not answer: mouse look changed nothing on screen"
  turn -150
  press_until Escape "pause menu" is_pause_menu
  select_item pause 0
  press_until Return "play after Wznow" play_started
}

# turn PIXELS: turns the view by mouse look (0.15 degrees a pixel) in steps a frame can take
# whole, so the turn does not depend on the frame rate.
turn() {
  local left=$1 step
  while [ "$left" != 0 ]; do
    step=$((left > 150 ? 150 : (left < -150 ? -150 : left)))
    xdotool mousemove_relative -- "$step" 0
    left=$((left - step))
    sleep 0.12
  done
}

# Turns round to the beast (it comes running from straight behind) and fires until its bar's red
# is gone. When five shots take nothing off the bar, either the clicks are too short for the
# frames (the hold is doubled, up to 0.4 s) or the aim is off (then the view swings 30 degrees
# further either way in turn and tries again).
kill_beast() {
  local width last shots=0 try=0 at=0 aim hidden=0
  hold=0.1
  turn 1200
  for _ in $(seq 10); do fire; done
  shots=10
  grab now
  last=$(red_width now)
  while :; do
    alive
    if is_dead_screen now || is_menu now; then
      deaths=$((deaths + 1))
      echo "soak: the beast won before it was shot down ($shots shots fired)"
      wait_for "main menu after GAME OVER" 60 is_main_menu
      return 1
    fi
    # No bar: the screen is fading to black as the player dies; look again.
    if ! beast_shown now; then
      hidden=$((hidden + 1))
      [ "$hidden" -gt 20 ] && fail "the beast's health bar went away before it died"
      sleep 0.5
      grab now
      continue
    fi
    width=$(red_width now)
    [ "$width" -le 1 ] && break
    if [ "$width" -ge "$last" ] && [ "$hold" != 0.4 ]; then
      hold=$([ "$hold" = 0.1 ] && echo 0.2 || echo 0.4)
    elif [ "$width" -ge "$last" ]; then
      # A turned view must look different, or the game no longer draws.
      [ "$try" -gt 0 ] && [ "$(changed turned now)" = 0 ] &&
        fail "the game stopped answering: turning the view changed nothing on screen"
      try=$((try + 1))
      [ "$try" -gt 12 ] && fail "could not hit the beast in $shots shots"
      # Aims 30, -30, 60, -60 ... degrees from the first aim.
      aim=$(((try + 1) / 2 * 200 * (try % 2 ? 1 : -1)))
      cp "$work/now.xwd" "$work/turned.xwd"
      turn $((aim - at))
      at=$aim
    fi
    last=$width
    for _ in $(seq 5); do fire; done
    shots=$((shots + 5))
    grab now
  done
  kills=$((kills + 1))
  echo "soak: the beast shot down ($shots shots fired) at $((SECONDS - start)) s"
  # It dies, fades and is removed 7 s later: the bar goes.
  wait_for "the beast's removal after its death" 60 beast_gone
}
beast_gone() { ! beast_shown "$1"; }

# A fresh game from the pause menu, standing still: the beast runs up and strikes until the
# player dies; GAME OVER, then the main menu (after its four seconds, or at once by Esc in every
# other round).
die() {
  press_until Escape "pause menu" is_pause_menu
  select_item pause 1
  press_until Return "play after a new game from the pause menu" play_started 90
  new_games=$((new_games + 1))
  wait_for "death of the player" 240 is_dead_screen
  deaths=$((deaths + 1))
  echo "soak: the player died at $((SECONDS - start)) s"
  if [ $((rounds % 2)) = 1 ]; then
    press_until Escape "main menu after GAME OVER and Esc" is_main_menu
  else
    wait_for "main menu after GAME OVER" 60 is_main_menu
  fi
}

# --- rounds until the time is up -----------------------------------------------------------------
# Past the time, a round ends at its next step; but the run goes on until the beast has been shot
# down and the player has died at least once (a loaded machine may need more than one try).
done_enough() { time_up && [ "$kills" -gt 0 ] && [ "$deaths" -gt 0 ]; }
while :; do
  options
  new_game_from_menu
  walk_and_look
  done_enough && break
  if kill_beast; then
    done_enough && break
    die
  fi
  rounds=$((rounds + 1))
  echo "soak: round $rounds done at $((SECONDS - start)) s"
  done_enough && break
  [ "$rounds" -ge 4 ] && [ "$kills" = 0 ] && fail "the beast was not shot down in $rounds rounds"
done

# --- the end: the close button, exit code 0, nothing left behind ---------------------------------
alive
python3 "$support/send_close.py" "$window" || fail "could not press the close button"
for _ in $(seq 120); do
  running || break
  sleep 0.25
done
running && fail "still running 30 s after its window was closed"
wait "$pid"
status=$?
pid=
kill "$sampler" 2>/dev/null
wait "$sampler" 2>/dev/null
sampler=
[ "$status" = 0 ] || fail "exit code $status after the window was closed"

left=()
run_after=$(listing "$work/run")
# Names as lines, spaces and all, added to `left`.
add_left() { mapfile -t -O "${#left[@]}" left; }
add_left < <(comm -13 <(echo "$run_before") <(echo "$run_after") | sed 's|^\./|game folder: |')
add_left < <(find "$work/tmp" -mindepth 1 -maxdepth 1 -printf 'TMPDIR: %f\n')
# In /tmp: files the game was seen holding that still exist, and anything new named like the
# game's staging files.
while IFS= read -r path; do
  [ -n "$path" ] && [ -e "$path" ] && left+=("$path")
done < <(sort -u "$work/held" 2>/dev/null | grep -v -F -e "$work/" -e /tmp/.X11-unix -e "$root/" \
  -e "$data/" -e "$program" | comm -23 - <(echo "$inherited"))
tmp_after=$(ls -A /tmp | sort)
add_left < <(comm -13 <(echo "$tmp_before") <(echo "$tmp_after") | grep '^temp_' | sed 's|^|/tmp/|')
summary
# What the libraries keep for a user (caches) is theirs; shown, not judged.
echo "soak: kept by libraries in the scratch HOME: $( (cd "$work/home" && find . -mindepth 1 -maxdepth 2 | sort | tr '\n' ' ') )"
[ ${#left[@]} = 0 ] || fail "files left behind: $(printf '%s; ' "${left[@]}")"
[ "$kills" -gt 0 ] || fail "the beast was never shot down"
[ "$deaths" -gt 0 ] || fail "the player never died"
python3 "$here/soak_trend.py" "$work/samples" "$warmup" >/dev/null ||
  fail "memory or open files kept growing, or too few samples to tell (see the figures above)"
echo "soak: passed"
