#!/usr/bin/env bash
# Runs a Windows test program under Wine with the project's own prefix.
# Wine's own diagnostics go to a file: reading them through a pipe slows every start down.
repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
export WINEPREFIX="${WINEPREFIX:-$repo/build/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
[ -d "$repo/build/locales" ] && export LOCPATH="${LOCPATH:-$repo/build/locales}"
log="${ZU_WINE_LOG:-$repo/build/wine-stderr.log}"
mkdir -p "$(dirname "$log")"
exec wine "$@" 2>>"$log"
