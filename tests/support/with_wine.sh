#!/usr/bin/env bash
# Runs a Windows program under Wine in the project's own prefix, quietly, and returns its status.
# ./test.sh prepares the prefix once (wineboot) before the tests run.
#
# The prefix's wineserver keeps its desktop bound to the X display of the program that started
# it; a later program on another test's display would then fail to make windows. So the server
# is stopped when the program ends, and Wine tests hold the CTest resource lock "wine".
set -u
export WINEPREFIX=${O3D_WINEPREFIX:-${XDG_CACHE_HOME:-$HOME/.cache}/ostrel3d/wine}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree,mshtml="}
mkdir -p "$(dirname "$WINEPREFIX")"

stop_server() { wineserver -k 2>/dev/null; wineserver -w 2>/dev/null; }
wine "$@" &
pid=$!
trap 'kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null; stop_server; exit 143' TERM INT
wait "$pid"
status=$?
stop_server
exit "$status"
