// Multibyte-aware operations on narrow text (std::string in the ANSI code page).
// Searching, replacing, trimming and splitting step over double-byte characters, so a
// trail byte that equals the searched byte never matches. Left/Mid/Right count bytes and
// clamp out-of-range arguments. Portable: no <windows.h>.
#pragma once

#include <string>
#include <vector>

// Position of the first `ch` at or after `start` that begins a character, or npos.
size_t FindChar(const std::string& text, char ch, size_t start = 0);
// Position of the last `ch` that begins a character, or npos.
size_t ReverseFindChar(const std::string& text, char ch);
// (Not named FindText: <windows.h> defines that as a macro.)
// Position of the first occurrence of `pattern` that begins at a character boundary at or
// after `start`, or npos. An empty pattern is never found.
size_t FindSubstring(const std::string& text, const std::string& pattern, size_t start = 0);
// Replaces every non-overlapping occurrence, left to right; returns how many were replaced.
// An empty pattern replaces nothing.
size_t ReplaceAll(std::string& text, const std::string& pattern, const std::string& replacement);

// Whitespace is space, tab, CR, LF, VT and FF; no byte of 0x80 or above counts.
bool IsTrimSpace(char ch);
std::string TrimLeft(const std::string& text);
std::string TrimRight(const std::string& text);
std::string Trim(const std::string& text);

// Splits at any byte of `delimiters` (single-byte delimiters, found multibyte-aware);
// runs of delimiters give no empty tokens.
std::vector<std::string> Tokenize(const std::string& text, const std::string& delimiters);

// Splits a comma-separated list of ASCII items (keys, digests) and trims each item; empty
// items are kept, so that a caller can refuse "a,,b" or a trailing comma.
std::vector<std::string> SplitCommaList(const std::string& text);

// Byte counts; negative counts give "", counts past the end stop at the end.
std::string Left(const std::string& text, int count);
std::string Mid(const std::string& text, int first);
std::string Mid(const std::string& text, int first, int count);
std::string Right(const std::string& text, int count);

// Case-insensitive comparison of ASCII letters; other bytes compare as unsigned values.
// Returns <0, 0, >0 like strcmp.
int CompareNoCase(const std::string& a, const std::string& b);
bool EqualsNoCase(const std::string& a, const std::string& b);
