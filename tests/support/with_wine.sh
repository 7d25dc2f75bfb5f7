#!/usr/bin/env bash
# Runs a Windows program under Wine in the project's own prefix, quietly, and returns its status.
# ./test.sh prepares the prefix once (wineboot) before the tests run in parallel.
set -u
export WINEPREFIX=${O3D_WINEPREFIX:-${XDG_CACHE_HOME:-$HOME/.cache}/ostrel3d/wine}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree,mshtml="}
mkdir -p "$(dirname "$WINEPREFIX")"
exec wine "$@"
