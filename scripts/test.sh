#!/usr/bin/env bash
# Installs what is missing, builds every preset and runs every test: native (sanitizers on),
# the Windows suites under Wine with Xvfb, and the parser fuzzers for a bounded time.
# Both Windows builds (win32, the shipped launcher, and win64) are built and packaged on every
# machine; each suite runs where this machine can run its programs (scripts/setup.sh finds out;
# ZU_ASSUME_NO_WIN32=1 acts as if 32-bit code could not run), and the last lines say which ran.
set -euo pipefail
repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$repo"
seconds_since() { echo $(($(date +%s) - $1)); }
summary=()

started=$(date +%s)
scripts/setup.sh
read -r -a runnable <build/windows-architectures
source scripts/wine_env.sh
machine_runs_win32 "$repo" || true  # for ZU_WIN32_REASON in the summary
summary+=("set-up: $(seconds_since "$started") s")

started=$(date +%s)
cmake --preset native >/dev/null
cmake --build --preset native
ctest --preset native
summary+=("native suite: passed ($(seconds_since "$started") s with its build)")

for arch in win32 win64; do
  started=$(date +%s)
  cmake --preset "$arch" >/dev/null
  cmake --build --preset "$arch"
  # The release zip (on a machine that cannot run this architecture, its only check).
  cmake --build --preset "$arch" --target package
  summary+=("$arch build and zip: $(seconds_since "$started") s")
done

source scripts/wine_session.sh
for arch in win64 win32; do
  if [[ " ${runnable[*]} " != *" $arch "* ]]; then
    summary+=("$arch suite: NOT RUN: this machine $ZU_WIN32_REASON (built and packaged only)")
    continue
  fi
  started=$(date +%s)
  (
    wine_session_start "$repo" "$arch"
    trap wine_session_stop EXIT
    ctest --preset "$arch"
  )
  summary+=("$arch suite: passed under Wine ($(seconds_since "$started") s)")
done

if [ "${ZU_SKIP_FUZZ:-0}" != 1 ] && ls tests/fuzz/*_fuzz.cpp >/dev/null 2>&1; then
  started=$(date +%s)
  scripts/fuzz.sh "${ZU_FUZZ_SECONDS:-60}"
  summary+=("fuzzers: passed ($(seconds_since "$started") s)")
fi
echo "== what ran"
printf '  %s\n' "${summary[@]}"
echo "all test suites that this machine can run passed"
