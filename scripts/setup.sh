#!/usr/bin/env bash
# Installs what Ostrovik needs from Debian's packages (only when something is
# missing), then configures and builds it.
#   OSTROVIK_BUILD_DIR  build folder (default: build)
#   OSTROVIK_SANITIZE   1 for an AddressSanitizer + UBSan build
#   OSTROVIK_WERROR     1 to treat warnings as errors
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev libqt6opengl6-dev libqscintilla2-qt6-dev
  libsdl2-dev libcurl4-openssl-dev nlohmann-json3-dev
  libavformat-dev libavcodec-dev libswscale-dev libavutil-dev ffmpeg
  libgtest-dev libgmock-dev python3
  fonts-dejavu-core xvfb xauth imagemagick libgl1-mesa-dri libgl-dev
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q '^install ok installed$' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

build=${OSTROVIK_BUILD_DIR:-build}
cmake -S . -B "$build" -G Ninja \
  -DOSTROVIK_SANITIZE="$([ "${OSTROVIK_SANITIZE:-0}" = 1 ] && echo ON || echo OFF)" \
  -DOSTROVIK_WERROR="$([ "${OSTROVIK_WERROR:-0}" = 1 ] && echo ON || echo OFF)" >/dev/null
cmake --build "$build" -j "$(nproc)"
