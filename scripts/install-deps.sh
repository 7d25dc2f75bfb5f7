#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the demo need, but only those missing,
# so a machine that already has them pays one dpkg query.
set -euo pipefail

packages=(
  g++ cmake make pkg-config libgtest-dev libgmock-dev libbenchmark-dev
  libsdl2-dev libgl-dev libglu1-mesa-dev libgl1-mesa-dri
  libfreetype-dev libfontconfig-dev fonts-dejavu-core
  libgstreamer1.0-dev libgstreamer-plugins-base1.0-dev
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-alsa
  zenity xvfb xauth xdotool x11-utils libx11-dev imagemagick
  g++-mingw-w64-x86-64-posix wine64 wine
  time clang-format
)

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
