#!/usr/bin/env bash
# Runs a Windows program under Wine in the project's own prefix, quietly, and returns its status.
# ./test.sh prepares the prefix once (wineboot) before the tests run.
#
# The prefix's wineserver keeps its desktop bound to the X display (or to none) of the program
# that started it; a program on another test's display would then fail to make windows. So a
# program with a display starts and ends with the server stopped, and Wine tests hold the CTest
# resource lock "wine". Console programs share a running server, which keeps them quick.
#
# O3D_WINE_AUDIO=null gives the program ALSA's null device as its default sound card (through a
# HOME of its own holding that .asoundrc), so DirectSound opens on a machine without one.
set -u
export WINEPREFIX=${O3D_WINEPREFIX:-${XDG_CACHE_HOME:-$HOME/.cache}/ostrel3d/wine}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree,mshtml="}
mkdir -p "$(dirname "$WINEPREFIX")"

audio_home=
if [ "${O3D_WINE_AUDIO:-}" = null ]; then
  audio_home=$(mktemp -d /tmp/o3d-wine-home.XXXXXX)
  printf 'pcm.!default { type null }\n' >"$audio_home/.asoundrc"
  export HOME=$audio_home
fi
remove_audio_home() { [ -z "$audio_home" ] || rm -rf "$audio_home"; }

# Wine's helper processes outlive the program with its HOME: a program with its own HOME also
# starts and ends with the server stopped.
stop_server() {
  [ -n "${DISPLAY:-}" ] || [ -n "$audio_home" ] || return 0
  wineserver -k 2>/dev/null
  wineserver -w 2>/dev/null
}
stop_server
wine "$@" &
pid=$!
trap 'kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null; stop_server; remove_audio_home; exit 143' TERM INT
wait "$pid"
status=$?
stop_server
remove_audio_home
exit "$status"
