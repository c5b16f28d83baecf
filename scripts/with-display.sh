#!/usr/bin/env bash
# with-display.sh BUILD_DIR COMMAND...: runs COMMAND with its own Xvfb and one wineserver
# kept alive for the whole run; stops only what it started.
set -uo pipefail
BUILD="$(cd "$1" && pwd)"; shift
. "$(dirname "$0")/wine-env.sh" 2>/dev/null
export WINEPREFIX="${WINEPREFIX:-$BUILD/wineprefix}"
"$(dirname "$0")/wineprefix.sh" "$WINEPREFIX"
disp=""
for n in $(shuf -i 90-600); do
  if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then disp=$n; break; fi
done
[ -n "$disp" ] || { echo "no free X display" >&2; exit 1; }
Xvfb ":$disp" -screen 0 "${KARV_DESKTOP}x24" -nolisten tcp >/dev/null 2>&1 &
xpid=$!
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$disp" ] && break; sleep 0.1; done
export DISPLAY=":$disp"
"$WINESERVER_BIN" -p >/dev/null 2>&1
# Wine's own services start with the first program and keep its output open; start them
# here, away from the caller's pipe.
"$WINE_BIN" wineboot -u </dev/null >/dev/null 2>&1
"$@"
rc=$?
"$WINESERVER_BIN" -k >/dev/null 2>&1 || true
kill "$xpid" 2>/dev/null; wait "$xpid" 2>/dev/null
exit $rc
