// How the INI document reader turns the bytes of a file into narrow text: UTF-16LE after an
// FF FE mark and UTF-8 after an EF BB BF mark are converted to the ANSI code page; anything
// else is taken as narrow text. Portable.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Sets `text` to the narrow text of `bytes` (up to its first NUL character). `text` may
// point into `bytes` or into `converted`, which must then outlive it. False when there is
// nothing to parse: fewer than two bytes, or UTF-16 text that cannot be converted.
bool DecodeIniText(const char* bytes, size_t size, std::string& converted, std::string_view& text);
