#!/usr/bin/env bash
# Makes the signed version files that the launcher's Windows tests check with BCrypt, as a
# test fixture of the Windows build, so those tests run on a fresh build tree by themselves:
# builds zupublish natively (the native preset) and runs the vendor routine's test, which
# leaves its signed files in FIXTURES.
#   make_signed_fixtures.sh FIXTURES
set -euo pipefail
repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
cd "$repo"
cmake --preset native >/dev/null
cmake --build --preset native --target zupublish >/dev/null
bash tests/tools/zupublish_test.sh build/native/tools/zupublish/zupublish "$1"
