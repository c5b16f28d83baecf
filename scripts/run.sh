#!/usr/bin/env bash
# run.sh: builds, starts the stand-in servers on loopback and runs Client under Wine.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
BUILD="${BUILD_DIR:-$ROOT/build}"
"$ROOT/scripts/build.sh" "$BUILD" >/dev/null
if [ -z "${DISPLAY:-}" ]; then
  exec "$ROOT/scripts/with-display.sh" "$BUILD" "$ROOT/scripts/run-inner.sh" "$BUILD" headless
fi
exec "$ROOT/scripts/run-inner.sh" "$BUILD" display
