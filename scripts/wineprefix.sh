#!/usr/bin/env bash
# Makes a Wine prefix once: CJK font substitutes and a virtual desktop
# (in Wine's plain X11 mode the window's own frame strip, which the skin draws, is cut off).
set -euo pipefail
. "$(dirname "$0")/wine-env.sh" 2>/dev/null
export WINEPREFIX="$1"
marker="$WINEPREFIX/.karv-ready"
# Wine's Marlett draws the glyphs of the stock caption buttons; the 32-bit Wine does not find
# it in its data folder, so the prefix's font folder links it (the other fonts stay replaced).
link_marlett() {
  local fonts="$WINEPREFIX/drive_c/windows/Fonts"
  [ -d "$fonts" ] && [ -f /usr/share/wine/fonts/marlett.ttf ] && ln -sf /usr/share/wine/fonts/marlett.ttf "$fonts/"
  return 0
}
if [ -f "$marker" ] && [ "$(cat "$marker")" = "$WINEARCH" ]; then
  link_marlett
  exit 0
fi
# A prefix made for the other architecture cannot be reused.
[ -f "$marker" ] && rm -rf "$WINEPREFIX"
mkdir -p "$WINEPREFIX"
"$WINE_BIN" wineboot -i >/dev/null 2>&1 || true
reg() { "$WINE_BIN" reg add "$@" /f >/dev/null 2>&1; }
for f in 宋体 新宋体 SimSun NSimSun "MS Shell Dlg" "MS Shell Dlg 2" Tahoma; do
  reg 'HKCU\Software\Wine\Fonts\Replacements' /v "$f" /d "WenQuanYi Zen Hei"
done
reg 'HKCU\Software\Wine\Explorer' /v Desktop /d Default
reg 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d "$KARV_DESKTOP"
"$WINESERVER_BIN" -w || true
link_marlett
echo "$WINEARCH" >"$marker"
