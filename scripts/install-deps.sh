#!/usr/bin/env bash
# Installs the Debian packages the project needs, but only those missing, so a machine that
# already has them pays one dpkg query.
#   install-deps.sh run   what building and running the engine and its examples needs, the
#                         headless demo included (./run.sh)
#   install-deps.sh       that and what the tests, benchmarks, profiling and the Windows build
#                         need (./test.sh)
set -euo pipefail

run_packages=(
  g++ cmake make pkg-config
  libsdl2-dev libgl-dev libglu1-mesa-dev libgl1-mesa-dri
  libfreetype-dev libfontconfig-dev fonts-dejavu-core
  libgstreamer1.0-dev libgstreamer-plugins-base1.0-dev
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-alsa
  zenity xvfb xauth xdotool x11-utils x11-apps imagemagick
)
test_packages=(
  libgtest-dev libgmock-dev libbenchmark-dev libx11-dev x11-xkb-utils
  python3
  g++-mingw-w64-x86-64-posix wine64 wine
  time clang-format
  linux-perf valgrind
  # the fuzz build (scripts/fuzz.sh): clang, libFuzzer and the sanitizer runtimes, and
  # llvm-symbolizer for readable reports
  clang libclang-rt-14-dev llvm
)

case "${1:-all}" in
  run) packages=("${run_packages[@]}") ;;
  all) packages=("${run_packages[@]}" "${test_packages[@]}") ;;
  *)
    echo "usage: $0 [run|all]" >&2
    exit 2
    ;;
esac

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
