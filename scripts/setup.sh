#!/usr/bin/env bash
# Installs what Ostrovik needs from Debian's packages (only when something is
# missing), then configures and builds it.
#   OSTROVIK_BUILD_DIR  build folder (default: build)
#   OSTROVIK_SANITIZE   1 for an AddressSanitizer + UBSan build
#   OSTROVIK_WERROR     1 to treat warnings as errors
#   OSTROVIK_BUILD_TYPE CMake build type (default: RelWithDebInfo; Release is
#                       the -O3 build a packager makes)
# A second run with nothing changed does no work: the build folder is
# configured again only when its options differ (the build itself reconfigures
# when a CMakeLists.txt changes), and the build finds everything up to date.
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

declare -A installed=()
while read -r p status; do
  if [ "$status" = "install ok installed" ]; then installed[$p]=1; fi
done < <(dpkg-query -W -f='${Package} ${Status}\n' "${packages[@]}" 2>/dev/null || true)
missing=()
for p in "${packages[@]}"; do
  [ -n "${installed[$p]:-}" ] || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

build=${OSTROVIK_BUILD_DIR:-build}
options=(
  "OSTROVIK_SANITIZE=$([ "${OSTROVIK_SANITIZE:-0}" = 1 ] && echo ON || echo OFF)"
  "OSTROVIK_WERROR=$([ "${OSTROVIK_WERROR:-0}" = 1 ] && echo ON || echo OFF)"
)
[ -z "${OSTROVIK_BUILD_TYPE:-}" ] || options+=("CMAKE_BUILD_TYPE=$OSTROVIK_BUILD_TYPE")
configure=0
[ -f "$build/build.ninja" ] && [ -f "$build/CMakeCache.txt" ] || configure=1
for o in "${options[@]}"; do
  grep -qx -- "${o%%=*}:[A-Z]*=${o#*=}" "$build/CMakeCache.txt" 2>/dev/null || configure=1
done
if [ "$configure" = 1 ]; then
  cmake -S . -B "$build" -G Ninja "${options[@]/#/-D}" >/dev/null
fi
cmake --build "$build" -j "$(nproc)"
