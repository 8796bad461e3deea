#include "ini/ini_text_decoding.h"

#include <cstring>

#include "common/codepage.h"

namespace {

std::string_view UpToFirstNul(const char* bytes, size_t size) {
  const void* nul = std::memchr(bytes, '\0', size);
  return std::string_view(bytes,
                          nul ? static_cast<size_t>(static_cast<const char*>(nul) - bytes) : size);
}

// The system conversion turns a surrogate without its partner into '?' and keeps the rest of
// the text; one stray unit must not cost the whole file. U+FFFD stands in for it, and the
// code page then gives its default character.
void ReplaceUnpairedSurrogates(std::string& units) {
  auto unitAt = [&units](size_t index) {
    return static_cast<unsigned>(static_cast<unsigned char>(units[2 * index])) |
           static_cast<unsigned>(static_cast<unsigned char>(units[2 * index + 1])) << 8;
  };
  const size_t count = units.size() / 2;
  for (size_t i = 0; i < count; ++i) {
    const unsigned unit = unitAt(i);
    if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < count && unitAt(i + 1) >= 0xDC00 &&
        unitAt(i + 1) <= 0xDFFF) {
      ++i;  // a proper pair
    } else if (unit >= 0xD800 && unit <= 0xDFFF) {
      units[2 * i] = static_cast<char>(0xFD);
      units[2 * i + 1] = static_cast<char>(0xFF);
    }
  }
}

bool ConvertUtf16LeText(const char* bytes, size_t size, std::string& converted) {
  // The text runs to its first NUL unit. A file of odd length ends in half a unit; it reads
  // as a unit whose high byte is 0, and the scan stops there instead of running past the
  // end of the data.
  std::string units;
  size_t position = 0;
  for (; position + 1 < size; position += 2) {
    if (bytes[position] == '\0' && bytes[position + 1] == '\0') break;
  }
  units.assign(bytes, position);
  if (position + 1 == size && bytes[position] != '\0') {
    units += bytes[position];
    units += '\0';
  }
  ReplaceUnpairedSurrogates(units);
  return Utf16LeToAnsi(units.data(), units.size(), converted);
}

}  // namespace

bool DecodeIniText(const char* bytes, size_t size, std::string& converted, std::string_view& text) {
  if (size < 2) return false;
  const unsigned char* mark = reinterpret_cast<const unsigned char*>(bytes);
  if (mark[0] == 0xFF && mark[1] == 0xFE) {
    if (!ConvertUtf16LeText(bytes + 2, size - 2, converted)) return false;
    text = converted;
    return true;
  }
  if (size >= 3 && mark[0] == 0xEF && mark[1] == 0xBB && mark[2] == 0xBF) {
    text = UpToFirstNul(bytes + 3, size - 3);
    // Text that is not valid UTF-8 after all is read as it stands, without its mark.
    if (Utf8ToAnsi(std::string(text), converted)) text = converted;
    return true;
  }
  text = UpToFirstNul(bytes, size);
  return true;
}
