# Sourced by the launcher and the run scripts: the Wine of this build.
# 64-bit Wine runs our programs here; a 32-bit build needs a machine that runs i386 Linux programs.
if [ "${KARV_ARCH:-x86_64}" = i686 ]; then
  WINE_BIN=/usr/lib/wine/wine WINESERVER_BIN=/usr/lib/wine/wineserver32 WINE_ARCH=win32
else
  WINE_BIN=/usr/lib/wine/wine64 WINESERVER_BIN=/usr/lib/wine/wineserver64 WINE_ARCH=win64
fi
export WINELOADER="$WINE_BIN" WINESERVER="$WINESERVER_BIN" WINEARCH="$WINE_ARCH"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=zh_CN.UTF-8
