// Strict decoding of UTF-8 and UTF-16LE into code points, and UTF-8 encoding. Shared by the
// code-page layer of both builds. Portable.
#pragma once

#include <cstddef>
#include <string>

// False on any ill-formed sequence: bad lead or continuation bytes, overlong forms, encoded
// surrogates, values above U+10FFFF, a sequence cut off at the end.
bool DecodeUtf8(const std::string& utf8, std::u32string& codePoints);
// False on an odd byte count or an unpaired surrogate.
bool DecodeUtf16Le(const void* bytes, size_t byteCount, std::u32string& codePoints);
void AppendUtf8(std::string& out, char32_t codePoint);
