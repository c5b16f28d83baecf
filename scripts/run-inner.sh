#!/usr/bin/env bash
# run-inner.sh BUILD MODE: the part of run.sh that runs on a display.
set -uo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
BUILD="$1"; MODE="$2"
. "$ROOT/scripts/wine-env.sh" 2>/dev/null
export WINEPREFIX="${WINEPREFIX:-$BUILD/wineprefix}"
"$ROOT/scripts/wineprefix.sh" "$WINEPREFIX"
APP="$BUILD/app"
mkdir -p "$APP" "$BUILD/screenshots"
cp -f "$BUILD/bin/Client.exe" "$BUILD/bin/Vandrel.dll" "$APP/"
[ -d "$BUILD/bin/icon" ] && cp -rf "$BUILD/bin/icon" "$APP/"
[ -f "$BUILD/bin/Ostrel.exe" ] && cp -f "$BUILD/bin/Ostrel.exe" "$APP/"
pids=()
cleanup() { for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done; }
trap cleanup EXIT
for server in ServiceServer WebServer; do
  if [ -f "$BUILD/bin/$server.exe" ]; then
    "$WINE_BIN" "$BUILD/bin/$server.exe" </dev/null >"$BUILD/$server.log" 2>&1 &
    pids+=($!)
  fi
done
"$WINE_BIN" "$APP/Client.exe" </dev/null >"$BUILD/client-run.log" 2>&1 &
client=$!
pids+=($client)
if [ "$MODE" = headless ]; then
  sleep "${RUN_SECONDS:-20}"
  if command -v import >/dev/null; then import -window root "$BUILD/screenshots/run.png" 2>/dev/null || true; fi
  echo "screenshot: $BUILD/screenshots/run.png"
else
  wait "$client"
fi
