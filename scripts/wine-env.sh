# Sourced by the launcher and the run scripts: the Wine of this build.
# The launcher sets KARV_ARCH from its build; scripts settle it through arch.sh.
. "$(dirname "${BASH_SOURCE[0]}")/arch.sh"
if [ "$KARV_ARCH" = i686 ]; then
  WINE_BIN=/usr/lib/wine/wine WINESERVER_BIN=/usr/lib/wine/wineserver32 WINE_ARCH=win32
else
  WINE_BIN=/usr/lib/wine/wine64 WINESERVER_BIN=/usr/lib/wine/wineserver64 WINE_ARCH=win64
fi
export WINELOADER="$WINE_BIN" WINESERVER="$WINESERVER_BIN" WINEARCH="$WINE_ARCH"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=zh_CN.UTF-8
# The virtual desktop of the prefix, and the size of the X screen that shows it: a picture of
# the screen is then a picture of the desktop, without a margin.
KARV_DESKTOP=1024x768
