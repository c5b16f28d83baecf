#!/usr/bin/env bash
# build.sh [BUILD_DIR]: bootstraps the toolchain, then configures and builds everything.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
BUILD="${1:-$ROOT/build}"
. "$ROOT/scripts/arch.sh"
"$ROOT/scripts/bootstrap.sh"
"$ROOT/scripts/host-tools.sh" "$BUILD"
ARCH="$KARV_ARCH"
if [ -f "$BUILD/CMakeCache.txt" ] && ! grep -qx "KARV_ARCH:STRING=$ARCH" "$BUILD/CMakeCache.txt"; then
  echo "build.sh: $BUILD was configured for another target; use another folder (BUILD_DIR) or remove it" >&2
  exit 1
fi
cmake -S "$ROOT" -B "$BUILD" -DKARV_ARCH="$ARCH" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-$ARCH.cmake" \
  -DDEPS_PREFIX="${DEPS_CACHE:-$ROOT/.deps}/$ARCH" >/dev/null
cmake --build "$BUILD" -j"$(nproc)"
