#!/usr/bin/env bash
# run-inner.sh BUILD MODE: the part of run.sh that runs on a display. Starts the stand-in
# service server (127.0.0.1:8014) and web server (127.0.0.1:8080), readies the program
# folder build/app, and runs Client. MODE "headless" logs in as the demo account 10001,
# takes screenshots and ends after RUN_SECONDS.
set -uo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
BUILD="$1"; MODE="$2"
. "$ROOT/scripts/wine-env.sh" 2>/dev/null
export WINEPREFIX="${WINEPREFIX:-$BUILD/wineprefix}"
"$ROOT/scripts/wineprefix.sh" "$WINEPREFIX"
APP="$BUILD/app"
WEB_PORT="${WEB_PORT:-8080}"
mkdir -p "$APP" "$BUILD/screenshots"
cp -f "$BUILD/bin/Client.exe" "$BUILD/bin/Vandrel.dll" "$BUILD/bin/Ostrel.exe" "$APP/"
cp -rf "$BUILD/bin/icon" "$APP/"
# Wine sees the Unix root as drive Z:.
"$WINE_BIN" "$BUILD/bin/PrepareDemo.exe" "Z:${APP//\//\\}" "127.0.0.1:$WEB_PORT" </dev/null
pids=()
cleanup() { for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done; }
trap cleanup EXIT
"$WINE_BIN" "$BUILD/bin/ServiceServer.exe" 127.0.0.1 8014 </dev/null >"$BUILD/ServiceServer.log" 2>&1 &
pids+=($!)
"$WINE_BIN" "$BUILD/bin/WebServer.exe" --address 127.0.0.1 --port "$WEB_PORT" </dev/null >"$BUILD/WebServer.log" 2>&1 &
pids+=($!)
sleep 1
"$WINE_BIN" "$APP/Client.exe" </dev/null >"$BUILD/client-run.log" 2>&1 &
client=$!
pids+=($client)
if [ "$MODE" = headless ]; then
  shot() { import -window root "$BUILD/screenshots/$1" 2>/dev/null && echo "screenshot: $BUILD/screenshots/$1"; }
  sleep 6
  shot run-login.png
  # Type the demo account into the login window, as a person would.
  if command -v xdotool >/dev/null; then
    xdotool type --delay 50 10001; xdotool key Tab; xdotool type --delay 50 demo; xdotool key Return
  fi
  sleep "${RUN_SECONDS:-20}"
  shot run.png
else
  wait "$client"
fi
