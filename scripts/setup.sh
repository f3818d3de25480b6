#!/usr/bin/env bash
# Installs the Debian 12 packages the player needs to build, run and test.
# Runs as root, or through sudo when it is available.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-image-formats-plugins qt6-multimedia-dev libgl-dev libxcb1-dev
  libavcodec-dev libavutil-dev libswresample-dev libavformat-dev
  zlib1g-dev liblzma-dev libpng-dev libgtest-dev
  fonts-arphic-uming
  xvfb xauth x11-utils xdotool openbox ffmpeg librsvg2-bin
  clang libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -q
"${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
