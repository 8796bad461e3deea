#!/usr/bin/env bash
# Installs what building and testing need on a Debian 12 machine and creates the Wine prefix.
# Idempotent: a second run only checks and returns.
set -euo pipefail
repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

packages=(g++-mingw-w64-i686-posix mingw-w64-i686-dev wine wine32:i386 xvfb xauth x11-utils
          nsis googletest libgtest-dev cmake ninja-build python3 clang locales fonts-nanum
          imagemagick nginx-light curl libssl-dev openssl)

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
    missing+=("$package")
done
if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}"
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
  fi
  apt-get update -q
  DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# Wine turns file names into Unix names through the C library's locale: without generated
# locales it cannot create a file with a Cyrillic, Korean or Japanese name. Generate the three
# that the tests use into the build tree (LOCPATH points there), leaving the system alone.
locales="$repo/build/locales"
for locale in ru_RU ko_KR ja_JP en_US; do
  if [ ! -d "$locales/$locale.UTF-8" ]; then
    mkdir -p "$locales"
    localedef -i "$locale" -f UTF-8 "$locales/$locale.UTF-8" 2>/dev/null ||
      [ -d "$locales/$locale.UTF-8" ] || { echo "setup: localedef $locale failed"; exit 1; }
  fi
done

# A prefix of the project's own, never the user's ~/.wine.
export WINEPREFIX="${WINEPREFIX:-$repo/build/wineprefix}"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "$WINEPREFIX/.zu-ready" ]; then
  echo "setup: creating Wine prefix $WINEPREFIX"
  mkdir -p "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1
  # Without a window manager Wine waits about 2 s on every closing window unless its
  # windows are unmanaged.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  wineserver -w
  touch "$WINEPREFIX/.zu-ready"
fi
