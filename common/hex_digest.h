// SHA-256 digests as vendors write them in version files: 64 hexadecimal digits, either case.
// Portable.
#pragma once

#include <array>
#include <cstdint>
#include <string>

using Sha256Digest = std::array<uint8_t, 32>;

// Exactly 64 hexadecimal digits (upper or lower case) and nothing else: true and the bytes.
// Anything else (63 or 65 digits, a blank, a non-hex character) gives false and leaves
// `digest` untouched.
bool ParseSha256Hex(const std::string& text, Sha256Digest& digest);

// 64 lower-case hexadecimal digits.
std::string FormatSha256Hex(const Sha256Digest& digest);
