#include "common/unicode.h"

bool DecodeUtf8(const std::string& utf8, std::u32string& codePoints) {
  std::u32string decoded;
  decoded.reserve(utf8.size());
  const size_t size = utf8.size();
  for (size_t i = 0; i < size;) {
    unsigned char lead = static_cast<unsigned char>(utf8[i]);
    if (lead < 0x80) {
      decoded.push_back(lead);
      ++i;
      continue;
    }
    size_t length;
    char32_t value;
    char32_t minimum;
    if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2, value = lead & 0x1F, minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3, value = lead & 0x0F, minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4, value = lead & 0x07, minimum = 0x10000;
    } else {
      return false;  // continuation byte, overlong two-byte lead, or beyond U+10FFFF
    }
    if (size - i < length) return false;
    for (size_t k = 1; k < length; ++k) {
      unsigned char next = static_cast<unsigned char>(utf8[i + k]);
      if ((next & 0xC0) != 0x80) return false;
      value = (value << 6) | (next & 0x3F);
    }
    if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return false;
    decoded.push_back(value);
    i += length;
  }
  codePoints.swap(decoded);
  return true;
}

bool DecodeUtf16Le(const void* bytes, size_t byteCount, std::u32string& codePoints) {
  if (byteCount % 2 != 0) return false;
  const unsigned char* data = static_cast<const unsigned char*>(bytes);
  const size_t units = byteCount / 2;
  auto unitAt = [data](size_t index) -> char32_t {
    return static_cast<char32_t>(data[2 * index] | (data[2 * index + 1] << 8));
  };
  std::u32string decoded;
  decoded.reserve(units);
  for (size_t i = 0; i < units; ++i) {
    char32_t unit = unitAt(i);
    if (unit >= 0xD800 && unit <= 0xDBFF) {
      if (i + 1 >= units) return false;
      char32_t low = unitAt(i + 1);
      if (low < 0xDC00 || low > 0xDFFF) return false;
      decoded.push_back(0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
      ++i;
    } else if (unit >= 0xDC00 && unit <= 0xDFFF) {
      return false;
    } else {
      decoded.push_back(unit);
    }
  }
  codePoints.swap(decoded);
  return true;
}

void AppendUtf8(std::string& out, char32_t codePoint) {
  if (codePoint < 0x80) {
    out += static_cast<char>(codePoint);
  } else if (codePoint < 0x800) {
    out += static_cast<char>(0xC0 | (codePoint >> 6));
    out += static_cast<char>(0x80 | (codePoint & 0x3F));
  } else if (codePoint < 0x10000) {
    out += static_cast<char>(0xE0 | (codePoint >> 12));
    out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (codePoint & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (codePoint >> 18));
    out += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (codePoint & 0x3F));
  }
}
