#!/usr/bin/env bash
# build.sh [BUILD_DIR]: bootstraps the toolchain, then configures and builds everything.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
BUILD="${1:-$ROOT/build}"
"$ROOT/scripts/bootstrap.sh"
"$ROOT/scripts/host-tools.sh" "$BUILD"
ARCH="${KARV_ARCH:-x86_64}"
cmake -S "$ROOT" -B "$BUILD" -DKARV_ARCH="$ARCH" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-$ARCH.cmake" >/dev/null
cmake --build "$BUILD" -j"$(nproc)"
