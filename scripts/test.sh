#!/usr/bin/env bash
# test.sh: builds everything and runs the whole test suite under Wine inside one Xvfb.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
BUILD="${BUILD_DIR:-$ROOT/build}"
"$ROOT/scripts/build.sh" "$BUILD"
# Every suite must pass on its first run: a rerun would hide an intermittent fault.
"$ROOT/scripts/with-display.sh" "$BUILD" ctest --test-dir "$BUILD" --output-on-failure -j"${TEST_JOBS:-4}" "$@"
