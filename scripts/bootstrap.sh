#!/usr/bin/env bash
# Installs the cross toolchain, Wine and the test tools from Debian's archive, then
# cross-builds PCRE2, libjpeg-turbo and SQLite (static) into a cache folder.
# KARV_ARCH picks the Windows target: i686 (default) or x86_64 (see arch.sh).
# Idempotent: every step is skipped when its result is already there.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
CACHE="${DEPS_CACHE:-$ROOT/.deps}"
. "$ROOT/scripts/arch.sh"
ARCH="$KARV_ARCH"
PREFIX="$CACHE/$ARCH"
SUDO=""
[ "$(id -u)" = 0 ] || SUDO="sudo"

need_pkgs=()
# fonts-wine: without Marlett the stock caption buttons show letters.
want=(cmake make "g++-mingw-w64-${ARCH//_/-}-posix" wine wine64 xvfb fonts-wqy-zenhei fonts-wine
      googletest tcl dpkg-dev xauth x11-utils imagemagick python3 locales xdotool
      clang libclang-rt-14-dev libpcre2-dev pkg-config)  # the last line: the native fuzz build
[ "$ARCH" = i686 ] && want+=(wine32:i386)
for p in "${want[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || need_pkgs+=("$p")
done

src_list=/etc/apt/sources.list.d/debian-src.sources
if [ "$ARCH" = i686 ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
  need_pkgs+=(wine32:i386)  # the package lists must be read again for i386
fi
if [ ${#need_pkgs[@]} -gt 0 ] || [ ! -f "$src_list" ]; then
  if [ ! -f "$src_list" ]; then
    uri=$(awk '/^URIs:/{print $2; exit}' /etc/apt/sources.list.d/debian.sources 2>/dev/null || true)
    [ -n "$uri" ] || uri="http://deb.debian.org/debian"
    printf 'Types: deb-src\nURIs: %s\nSuites: bookworm bookworm-updates\nComponents: main\nSigned-By: /usr/share/keyrings/debian-archive-keyring.gpg\n' "$uri" \
      | $SUDO tee "$src_list" >/dev/null
  fi
  $SUDO apt-get update -q
  if [ ${#need_pkgs[@]} -gt 0 ]; then
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends "${need_pkgs[@]}"
  fi
fi

# Wine makes Chinese file names through the host's locale, which a fresh machine lacks.
if ! locale -a 2>/dev/null | grep -qi '^zh_CN.utf8$'; then
  $SUDO localedef -i zh_CN -f UTF-8 zh_CN.UTF-8 || true
fi

mkdir -p "$CACHE/src" "$PREFIX"
TOOLCHAIN="$ROOT/cmake/mingw-$ARCH.cmake"

fetch_src() {  # fetch_src NAME -> sets SRCDIR
  local name=$1
  SRCDIR=$(find "$CACHE/src" -maxdepth 1 -mindepth 1 -type d -name "${2}-*" | head -n1)
  if [ -z "$SRCDIR" ]; then
    (cd "$CACHE/src" && apt-get source -q "$name" >/dev/null)
    SRCDIR=$(find "$CACHE/src" -maxdepth 1 -mindepth 1 -type d -name "${2}-*" | head -n1)
  fi
}

# PCRE2 with its JIT compiler (x86 has one); the stamp tells a cache built without it, which
# is then built again.
PCRE2_STAMP="$PREFIX/lib/pcre2-jit.stamp"
if [ ! -f "$PREFIX/lib/libpcre2-8.a" ] || [ ! -f "$PCRE2_STAMP" ]; then
  fetch_src pcre2 pcre2
  rm -rf "$CACHE/build-pcre2-$ARCH"
  cmake -S "$SRCDIR" -B "$CACHE/build-pcre2-$ARCH" -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$PREFIX" -DBUILD_SHARED_LIBS=OFF \
    -DPCRE2_BUILD_PCRE2GREP=OFF -DPCRE2_BUILD_TESTS=OFF -DPCRE2_SUPPORT_JIT=ON >/dev/null
  cmake --build "$CACHE/build-pcre2-$ARCH" -j"$(nproc)" >/dev/null
  cmake --install "$CACHE/build-pcre2-$ARCH" >/dev/null
  touch "$PCRE2_STAMP"
fi

if [ ! -f "$PREFIX/lib/libjpeg.a" ]; then
  fetch_src libjpeg-turbo libjpeg-turbo
  rm -rf "$CACHE/build-jpeg-$ARCH"
  cmake -S "$SRCDIR" -B "$CACHE/build-jpeg-$ARCH" -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$PREFIX" -DCMAKE_INSTALL_LIBDIR="$PREFIX/lib" \
    -DENABLE_SHARED=OFF -DWITH_SIMD=OFF -DWITH_TURBOJPEG=OFF >/dev/null
  cmake --build "$CACHE/build-jpeg-$ARCH" -j"$(nproc)" >/dev/null
  cmake --install "$CACHE/build-jpeg-$ARCH" >/dev/null
fi

# SQLite with a section per function, so the program's link can put its start-up code together
# (cmake/StartupOrder.cmake); the stamp tells a cache built without, which is then built again.
SQLITE_STAMP="$PREFIX/lib/sqlite3-sections.stamp"
if [ ! -f "$PREFIX/lib/libsqlite3.a" ] || [ ! -f "$SQLITE_STAMP" ]; then
  fetch_src sqlite3 sqlite3
  if [ ! -f "$SRCDIR/sqlite3.c" ]; then
    (cd "$SRCDIR" && ./configure -q >/dev/null && make -s sqlite3.c >/dev/null)
  fi
  mkdir -p "$PREFIX/include"
  cp "$SRCDIR/sqlite3.h" "$PREFIX/include/"
  $ARCH-w64-mingw32-gcc-posix -O2 -ffunction-sections -c "$SRCDIR/sqlite3.c" -o "$CACHE/sqlite3-$ARCH.o" \
    -DSQLITE_THREADSAFE=1 -DSQLITE_OMIT_LOAD_EXTENSION -DSQLITE_DEFAULT_FOREIGN_KEYS=0
  rm -f "$PREFIX/lib/libsqlite3.a"
  $ARCH-w64-mingw32-ar rcs "$PREFIX/lib/libsqlite3.a" "$CACHE/sqlite3-$ARCH.o"
  touch "$SQLITE_STAMP"
fi

echo "bootstrap: toolchain and libraries ready in $PREFIX"
