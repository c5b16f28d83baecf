#!/usr/bin/env bash
# bench.sh [NAME-PATTERN]: builds and runs the benchmarks under Wine; each prints its ratios.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
BUILD="${BUILD_DIR:-$ROOT/build}"
"$ROOT/scripts/build.sh" "$BUILD" >/dev/null
for exe in "$BUILD"/bin/bench_*.exe; do
  [ -e "$exe" ] || continue
  case "$(basename "$exe")" in *${1:-}*) ;; *) continue ;; esac
  echo "== $(basename "$exe" .exe)"
  "$ROOT/scripts/with-display.sh" "$BUILD" "$BUILD/winerun" "$exe"
done
