#!/usr/bin/env bash
# Builds the parser fuzz targets with clang and runs each for a bounded time on its corpus.
set -euo pipefail
repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$repo"
seconds="${1:-60}"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
for source in tests/fuzz/*_fuzz.cpp; do
  name="$(basename "$source" .cpp)"
  corpus="tests/fuzz/corpus/${name%_fuzz}"
  work="build/fuzz/corpus-${name%_fuzz}"
  mkdir -p "$work"
  echo "fuzz: $name for ${seconds}s"
  "build/fuzz/$name" -max_total_time="$seconds" -print_final_stats=1 \
    "$work" "$corpus" 2>"build/fuzz/$name.log" || { tail -n 60 "build/fuzz/$name.log"; exit 1; }
  grep -E "stat::number_of_executed_units|Done [0-9]+ runs" "build/fuzz/$name.log" || true
done
