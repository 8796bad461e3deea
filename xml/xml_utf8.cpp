#include "xml/xml_utf8.h"

#include "common/codepage.h"

std::optional<std::string> Utf8ToCodePage(const std::string& utf8) {
  std::string converted;
  if (!Utf8ToAnsi(utf8, converted)) return std::nullopt;
  return converted;
}

bool HasHighByte(const std::string& text) {
  for (char byte : text) {
    if (static_cast<unsigned char>(byte) >= 0x80) return true;
  }
  return false;
}
