// Conversion of UTF-8 attribute values to the ANSI code page, used once a document has
// declared encoding="utf-8". Portable.
#pragma once

#include <optional>
#include <string>

// The value converted to the active ANSI code page, or no value when it cannot be
// converted (the attribute is then stored without a value).
std::optional<std::string> Utf8ToCodePage(const std::string& utf8);

// True when `text` holds a byte of 0x80 or above, the only values worth converting.
bool HasHighByte(const std::string& text);
