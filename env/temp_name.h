// Shapes of temporary file names and the choice of their base directory. Portable; the
// Windows side draws the random numbers and creates the files.
#pragma once

#include <cstddef>
#include <string>

// Size of the buffer a temporary file name must fit, terminating zero included (the
// platform's path limit for narrow names).
constexpr size_t kTempNameBufferSize = 260;
// Attempts with fresh candidate names in one base directory before the next is tried.
constexpr int kTempNameAttempts = 100;
// Characters a candidate adds to its base directory: "t", two digits, five hex digits, ".tmp".
constexpr size_t kTempCandidateLength = 12;

// `directory` with a backslash appended unless its last character already is one
// (multibyte-aware: a trail byte 0x5C does not count).
std::string WithTrailingBackslash(const std::string& directory);

// True when every candidate name formed on `base` fits kTempNameBufferSize with its zero.
// A base that fails this is not used: a longer name could not be created anyway.
bool TempCandidateFits(const std::string& base);

// "%st%02d%05x.tmp" of base, attempt and number modulo 0xFFFFF.
std::string FormatTempCandidate(const std::string& base, int attempt, unsigned number);
