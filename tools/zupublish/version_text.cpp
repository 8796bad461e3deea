#include "tools/zupublish/version_text.h"

#include "common/unicode.h"

bool DecodeVersionText(const std::string& bytes, VersionText& version) {
  if (bytes.size() < 2 || static_cast<unsigned char>(bytes[0]) != 0xFF ||
      static_cast<unsigned char>(bytes[1]) != 0xFE) {
    version = {false, bytes};
    return true;
  }
  std::u32string codePoints;
  if (!DecodeUtf16Le(bytes.data() + 2, bytes.size() - 2, codePoints)) return false;
  std::string utf8;
  for (char32_t codePoint : codePoints) AppendUtf8(utf8, codePoint);
  version = {true, utf8};
  return true;
}

std::string EncodeVersionText(const VersionText& version, const std::string& text, bool withMark) {
  if (!version.utf16) return text;
  std::u32string codePoints;
  DecodeUtf8(text, codePoints);  // zupublish only ever adds ASCII to decoded text
  std::string bytes = withMark ? "\xFF\xFE" : "";
  auto appendUnit = [&bytes](unsigned unit) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
  };
  for (char32_t codePoint : codePoints) {
    if (codePoint < 0x10000) {
      appendUnit(codePoint);
    } else {
      const unsigned offset = codePoint - 0x10000;
      appendUnit(0xD800 + (offset >> 10));
      appendUnit(0xDC00 + (offset & 0x3FF));
    }
  }
  return bytes;
}
