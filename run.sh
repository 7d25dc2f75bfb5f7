#!/usr/bin/env bash
# Installs what is missing for running, builds, and starts the game in its folder beside its data
# (build/data). Without a display it plays short scripted demos under a virtual display (the game,
# the platform tour, the images-and-text example, a walk through the 3D world, the model viewer and
# the game's default data) and saves screenshots to demo/.
set -euo pipefail
cd "$(dirname "$0")"

./scripts/install-deps.sh run
mkdir -p build
# Tests and benchmarks need what only ./test.sh installs.
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DO3D_BUILD_TESTS=OFF -DO3D_BUILD_BENCHMARKS=OFF \
  >build/configure.log 2>&1 || { cat build/configure.log; exit 1; }
cmake --build build -j "$(nproc)" --target platform_tour images_and_text world model_viewer \
  assetgen assetgen_scene game_data game

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  cd build/data && exec ./game
fi
echo "No display: playing the scripted demo under Xvfb; screenshots go to demo/."
mkdir -p demo
tests/support/with_xvfb.sh scripts/demo_game.sh build/data demo
tests/support/with_xvfb.sh scripts/demo_platform_tour.sh build/examples/platform_tour demo
tests/support/with_xvfb.sh scripts/demo_images_and_text.sh build/examples/images_and_text demo
tests/support/with_xvfb.sh scripts/demo_world.sh build/examples/world demo
tests/support/with_xvfb.sh scripts/demo_model_viewer.sh build/examples/model_viewer demo
tests/support/with_xvfb.sh scripts/demo_game_data.sh build demo
ls demo
