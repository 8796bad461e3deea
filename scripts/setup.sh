#!/usr/bin/env bash
# Installs what building and testing need on a Debian 12 machine and creates the Wine
# prefixes: 64-bit always, 32-bit where this machine executes 32-bit code (ZU_ASSUME_NO_WIN32=1
# acts as if it did not). Idempotent: a second run only checks and returns.
# Writes build/windows-architectures: the architectures whose programs run here, one line.
set -euo pipefail
repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$repo/scripts/wine_env.sh"

architectures="win64"
if machine_runs_win32 "$repo"; then
  architectures="win32 win64"
  echo "setup: this machine runs 32-bit x86 code: Windows programs run as win32 and win64"
else
  echo "setup: win64 programs only: this machine $ZU_WIN32_REASON"
fi

# Both toolchains on every machine: the 32-bit launcher is built (and packaged) even where it
# cannot run.
packages=(g++-mingw-w64-i686-posix mingw-w64-i686-dev g++-mingw-w64-x86-64-posix
          mingw-w64-x86-64-dev wine wine64 xvfb xauth x11-utils nsis googletest libgtest-dev
          cmake ninja-build python3 clang locales fonts-nanum imagemagick nginx-light curl
          libssl-dev openssl osslsigncode wixl)
[[ " $architectures " == *" win32 "* ]] && packages+=(wine32:i386)

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
    missing+=("$package")
done
if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}"
  if [[ " ${missing[*]} " == *":i386 "* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
  fi
  apt-get update -q
  DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# Wine turns file names into Unix names through the C library's locale: without generated
# locales it cannot create a file with a Cyrillic, Korean or Japanese name. Generate the three
# that the tests use into the build tree (LOCPATH points there), leaving the system alone.
locales="$repo/build/locales"
for locale in ru_RU ko_KR ja_JP en_US de_DE; do
  if [ ! -d "$locales/$locale.UTF-8" ]; then
    mkdir -p "$locales"
    localedef -i "$locale" -f UTF-8 "$locales/$locale.UTF-8" 2>/dev/null ||
      [ -d "$locales/$locale.UTF-8" ] || { echo "setup: localedef $locale failed"; exit 1; }
  fi
done

# Prefixes of the project's own, never the user's ~/.wine: one per architecture.
for arch in $architectures; do
  (
    wine_use_arch "$repo" "$arch"
    if [ ! -f "$WINEPREFIX/.zu-ready" ]; then
      echo "setup: creating the $arch Wine prefix $WINEPREFIX"
      rm -rf "$WINEPREFIX"
      mkdir -p "$WINEPREFIX"
      wineboot -i >/dev/null 2>&1
      # Without a window manager Wine waits about 2 s on every closing window unless its
      # windows are unmanaged.
      wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
      wineserver -w
      touch "$WINEPREFIX/.zu-ready"
    fi
  )
done
echo "$architectures" >"$repo/build/windows-architectures"
