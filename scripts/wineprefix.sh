#!/usr/bin/env bash
# Makes a Wine prefix once: CJK font substitutes and a virtual desktop
# (in Wine's plain X11 mode the window's own frame strip, which the skin draws, is cut off).
# A prefix made earlier gets the font substitutes again when they have changed since.
set -euo pipefail
. "$(dirname "$0")/wine-env.sh" 2>/dev/null
export WINEPREFIX="$1"
marker="$WINEPREFIX/.karv-ready"
# The bitmap face of the CJK font keeps every one-pixel stroke at 9 to 12 points (12 to 16
# pixels): its outline face drops the hyphen at 12 pixels and "一" at 13.
cjk_face="WenQuanYi Zen Hei Sharp"
# The faces the windows name: the forms' own, the system's frame, menu, message and dialog
# faces, and the chat window's "Default".
faces=(宋体 新宋体 SimSun NSimSun "MS Shell Dlg" "MS Shell Dlg 2" Tahoma Default)
# Wine draws a bold made from a regular face smoothed by default, which turns its one-pixel
# strokes to pale grey (the caption font is bold): drawn like the regular face, they stay.
fonts_stamp="fonts: $cjk_face <- ${faces[*]}; plain fake bold"
# Wine's Marlett draws the glyphs of the stock caption buttons; the 32-bit Wine does not find
# it in its data folder, so the prefix's font folder links it (the other fonts stay replaced).
link_marlett() {
  local fonts="$WINEPREFIX/drive_c/windows/Fonts"
  [ -d "$fonts" ] && [ -f /usr/share/wine/fonts/marlett.ttf ] && ln -sf /usr/share/wine/fonts/marlett.ttf "$fonts/"
  return 0
}
reg() { "$WINE_BIN" reg add "$@" /f >/dev/null 2>&1; }
substitute_fonts() {
  local f
  for f in "${faces[@]}"; do
    reg 'HKCU\Software\Wine\Fonts\Replacements' /v "$f" /d "$cjk_face"
  done
  reg 'HKCU\Software\Wine\Fonts' /v AntialiasFakeBoldOrItalic /d n
}
# The marker holds the architecture, then the font stamp the prefix was given.
if [ -f "$marker" ] && [ "$(sed -n 1p "$marker")" = "$WINEARCH" ]; then
  if [ "$(sed -n 2p "$marker")" != "$fonts_stamp" ]; then
    substitute_fonts
    "$WINESERVER_BIN" -w || true
    printf '%s\n%s\n' "$WINEARCH" "$fonts_stamp" >"$marker"
  fi
  link_marlett
  exit 0
fi
# A prefix made for the other architecture cannot be reused.
[ -f "$marker" ] && rm -rf "$WINEPREFIX"
mkdir -p "$WINEPREFIX"
"$WINE_BIN" wineboot -i >/dev/null 2>&1 || true
substitute_fonts
reg 'HKCU\Software\Wine\Explorer' /v Desktop /d Default
reg 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d "$KARV_DESKTOP"
"$WINESERVER_BIN" -w || true
link_marlett
printf '%s\n%s\n' "$WINEARCH" "$fonts_stamp" >"$marker"
