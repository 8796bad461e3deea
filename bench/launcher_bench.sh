#!/usr/bin/env bash
# The launcher's `run` on the quick road (version file fresh, program current) against a bare
# start of the same program, under Wine in a session of its own (Xvfb display, persistent
# wineserver). Builds what it needs, prints the medians, min/p90/max, the difference and
# whether the launcher stays within 25 ms; then the launcher against a do-nothing program with
# only the quick road's DLLs (within 5 ms), its peak working set and the release exe's size
# (at most 600 KB). Not part of the tests.
#   bench/launcher_bench.sh [rounds, default 30] [warm-up rounds, default 3]
# With ZU_BENCH_BEFORE_EXE naming an earlier ZuLauncher.exe (a Unix path), its peak working
# set and size are printed too.
set -euo pipefail
repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$repo"
source scripts/wine_env.sh
pick_windows_arch "$repo" bench
arch="$ZU_ARCH"

cmake --preset "$arch" >/dev/null
cmake --build --preset "$arch" -j2 --target launcher_bench >/dev/null
scripts/setup.sh >/dev/null

# A display and a wineserver of its own (a wineserver already serving this prefix is ended
# with the session).
unset DISPLAY
# shellcheck source=scripts/wine_session.sh
source scripts/wine_session.sh
wine_session_start "$repo" "$arch"
trap wine_session_stop EXIT

export ZU_NO_TEST_HTTP_SERVER=1  # nothing is downloaded on this road
# Wine's stderr, and with it the bench's own complaints, goes to a file (a pipe slows Wine).
export ZU_WINE_LOG="$repo/build/launcher-bench-stderr.log"
: >"$ZU_WINE_LOG"
echo "machine: $(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg), $(wine --version)"
args=("$@")
if [ -n "${ZU_BENCH_BEFORE_EXE:-}" ]; then
  args=("${1:-30}" "${2:-3}" "$(winepath -w "$ZU_BENCH_BEFORE_EXE" 2>/dev/null)")
fi
status=0
tests/support/wine_run.sh build/$arch/launcher_bench.exe "${args[@]}" | tr -d '\r' || status=$?
if [ "$status" != 0 ]; then
  grep -a "launcher_bench" "$ZU_WINE_LOG" >&2 || tail -n 20 "$ZU_WINE_LOG" >&2
  exit "$status"
fi

size="$(stat -c %s build/$arch/ZuLauncher.exe)"
printf '\nrelease ZuLauncher.exe: %s bytes   target: at most 600 KB (614400 bytes)   -> %s\n' \
  "$size" "$([ "$size" -le 614400 ] && echo MET || echo MISSED)"
if [ -n "${ZU_BENCH_BEFORE_EXE:-}" ]; then
  printf 'the earlier ZuLauncher.exe: %s bytes\n' "$(stat -c %s "$ZU_BENCH_BEFORE_EXE")"
fi
