#!/usr/bin/env bash
# host-tools.sh BUILD_DIR: builds the skin tools for the build machine (native g++) into
# BUILD_DIR/host, then draws and packs our skins into BUILD_DIR/skins/builtin.skin and
# BUILD_DIR/skins/coded.skin. A skin file is replaced only when its bytes change.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
mkdir -p "${1:?usage: host-tools.sh BUILD_DIR}"
BUILD="$(cd "$1" && pwd)"
HOST="$BUILD/host"
SKINS="$BUILD/skins"

if ! command -v g++ >/dev/null; then
  SUDO=""; [ "$(id -u)" = 0 ] || SUDO="sudo"
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends g++ >/dev/null
fi

mkdir -p "$HOST/src" "$SKINS"
wrapper="cmake_minimum_required(VERSION 3.20)
project(SkinHostTools CXX)
set(KARV_HOST_OUT \"$HOST\")
include(\"$ROOT/tools/skinpack/host.cmake\")"
if [ ! -f "$HOST/src/CMakeLists.txt" ] || [ "$(cat "$HOST/src/CMakeLists.txt")" != "$wrapper" ]; then
  printf '%s\n' "$wrapper" > "$HOST/src/CMakeLists.txt"
fi
if [ ! -f "$HOST/build/CMakeCache.txt" ]; then
  env -u CC -u CXX cmake -S "$HOST/src" -B "$HOST/build" -DCMAKE_CXX_COMPILER=g++ >/dev/null
fi
cmake --build "$HOST/build" -j"$(nproc)" >/dev/null

for theme in builtin coded; do
  rm -rf "$SKINS/$theme"
  "$HOST/skinart" "$theme" "$SKINS/$theme"
  "$HOST/skinpack" "$SKINS/$theme" "$SKINS/$theme.skin.new" >/dev/null
  if cmp -s "$SKINS/$theme.skin.new" "$SKINS/$theme.skin"; then
    rm "$SKINS/$theme.skin.new"
  else
    mv "$SKINS/$theme.skin.new" "$SKINS/$theme.skin"
  fi
done
touch "$SKINS/stamp"
