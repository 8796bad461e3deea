// SHA-256 of a byte string in memory, in plain C++: for the places where the same digest must
// come out on every platform and in the native tests (the rollout bucket of an install), and
// where the input is a few dozen bytes. Files and installers are hashed by the system's
// provider (common/sha256_win.h). Portable; any thread.
#pragma once

#include <string_view>

#include "common/hex_digest.h"

Sha256Digest Sha256Of(std::string_view bytes);
