// The ANSI code page layer: lead-byte test and conversions into the active ANSI code page.
// Windows builds use the system calls; the native build uses iconv and a settable code
// page so tests can run as 949, 932 or 1251. Conversions either succeed whole or fail and
// leave the output untouched. Portable header.
#pragma once

#include <cstddef>
#include <string>

// The code page that IsLeadByte and the conversions use. Windows: the system ANSI code
// page unless a test set another; native: 1252 unless set.
unsigned ActiveCodePage();
void SetActiveCodePage(unsigned codePage);

// True when `byte` starts a double-byte character in the active code page.
bool IsLeadByte(unsigned char byte);

// UTF-8 (without byte-order mark) to the active ANSI code page. False on invalid UTF-8
// (overlong forms, surrogates, truncated sequences). A character the code page cannot
// represent becomes its default character ('?'), as the system conversion without flags does.
bool Utf8ToAnsi(const std::string& utf8, std::string& ansi);
// UTF-16LE bytes (without byte-order mark; an odd trailing byte or an unpaired surrogate is
// invalid) to ANSI; unrepresentable characters as above.
bool Utf16LeToAnsi(const void* bytes, size_t byteCount, std::string& ansi);
// ANSI to UTF-8 (for consoles and tests). False on invalid input.
bool AnsiToUtf8(const std::string& ansi, std::string& utf8);
