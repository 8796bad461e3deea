#!/usr/bin/env bash
# Installs what is missing, builds both presets and runs every test: native (sanitizers on),
# Windows under Wine with Xvfb, and the parser fuzzers for a bounded time.
set -euo pipefail
repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$repo"
scripts/setup.sh

cmake --preset native >/dev/null
cmake --build --preset native
ctest --preset native

cmake --preset win32 >/dev/null
cmake --build --preset win32
# The release zip, which the release test unpacks and runs.
cmake --build --preset win32 --target package

source scripts/wine_session.sh
wine_session_start "$repo"
trap wine_session_stop EXIT
ctest --preset win32

if [ "${ZU_SKIP_FUZZ:-0}" != 1 ] && ls tests/fuzz/*_fuzz.cpp >/dev/null 2>&1; then
  scripts/fuzz.sh "${ZU_FUZZ_SECONDS:-60}"
fi
echo "all test suites passed"
