#!/usr/bin/env bash
# The launcher's `run` on the quick road (version file fresh, program current) against a bare
# start of the same program, under Wine in a session of its own (Xvfb display, persistent
# wineserver). Builds what it needs, prints the medians, min/p90/max, the difference and
# whether the launcher stays within 25 ms. Not part of the tests.
#   bench/launcher_bench.sh [rounds, default 30] [warm-up rounds, default 3]
set -euo pipefail
repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$repo"

cmake --preset win32 >/dev/null
cmake --build --preset win32 -j2 --target launcher_bench >/dev/null
[ -f "${WINEPREFIX:-$repo/build/wineprefix}/.zu-ready" ] || scripts/setup.sh

# A display and a wineserver of its own (a wineserver already serving this prefix is ended
# with the session).
unset DISPLAY
# shellcheck source=scripts/wine_session.sh
source scripts/wine_session.sh
wine_session_start "$repo"
trap wine_session_stop EXIT

export ZU_NO_TEST_HTTP_SERVER=1  # nothing is downloaded on this road
# Wine's stderr, and with it the bench's own complaints, goes to a file (a pipe slows Wine).
export ZU_WINE_LOG="$repo/build/launcher-bench-stderr.log"
: >"$ZU_WINE_LOG"
echo "machine: $(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg), $(wine --version)"
status=0
tests/support/wine_run.sh build/win32/launcher_bench.exe "$@" | tr -d '\r' || status=$?
if [ "$status" != 0 ]; then
  grep -a "launcher_bench" "$ZU_WINE_LOG" >&2 || tail -n 20 "$ZU_WINE_LOG" >&2
  exit "$status"
fi
