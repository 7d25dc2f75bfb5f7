#!/usr/bin/env bash
# Runs a Windows program under Wine in the project's own prefix, quietly, and returns its status.
# ./test.sh prepares the prefix once (wineboot) before the tests run.
#
# The prefix's wineserver keeps its desktop bound to the X display (or to none) of the program
# that started it; a program on another test's display would then fail to make windows. So a
# program with a display starts and ends with the server stopped, and Wine tests hold the CTest
# resource lock "wine". Console programs share a running server, which keeps them quick.
set -u
export WINEPREFIX=${O3D_WINEPREFIX:-${XDG_CACHE_HOME:-$HOME/.cache}/ostrel3d/wine}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree,mshtml="}
mkdir -p "$(dirname "$WINEPREFIX")"

# O3D_WINE_NULL_AUDIO=1: Wine's sound (DirectSound, DirectShow's audio renderer) needs a device;
# ALSA's null device as the default, in a HOME of its own, gives it one on a machine without.
if [ "${O3D_WINE_NULL_AUDIO:-0}" = 1 ]; then
  null_home=$(mktemp -d /tmp/o3d-wine-home.XXXXXX)
  echo 'pcm.!default { type null }' >"$null_home/.asoundrc"
  export HOME=$null_home
fi

# Wine's helper processes outlive the program with its HOME: a program with its own HOME also
# starts and ends with the server stopped, so none of them writes into the folder once removed.
stop_server() {
  [ -n "${DISPLAY:-}" ] || [ -n "${null_home:-}" ] || return 0
  wineserver -k 2>/dev/null
  wineserver -w 2>/dev/null
}
stop_server
wine "$@" &
pid=$!
trap 'kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null; stop_server; rm -rf "${null_home:-}"; exit 143' TERM INT
wait "$pid"
status=$?
stop_server
rm -rf "${null_home:-}"
exit "$status"
