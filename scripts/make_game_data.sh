#!/usr/bin/env bash
# Lays out the game's folder: the default data made by assetgen, packed into game.dat by o3dpack,
# with intro.avi beside it, and the game program itself.
# Usage: make_game_data.sh BUILD_DIR OUT_DIR
set -euo pipefail
build=$(realpath "$1")
mkdir -p "$2"
out=$(realpath "$2")
data=$(mktemp -d)
trap 'rm -rf "$data"' EXIT
"$build/tools/assetgen/assetgen" "$data" >/dev/null
(cd "$data" && "$build/tools/o3dpack/o3dpack" create "$out/game.dat" $(ls | grep -v '^intro\.avi$') \
  >/dev/null)
cp "$data/intro.avi" "$out/intro.avi"
cp "$build/game/game" "$out/game"
