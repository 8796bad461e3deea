#include "common/base64.h"

#include <cstdint>

namespace {

const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

int ValueOf(char ch) {
  if (ch >= 'A' && ch <= 'Z') return ch - 'A';
  if (ch >= 'a' && ch <= 'z') return ch - 'a' + 26;
  if (ch >= '0' && ch <= '9') return ch - '0' + 52;
  if (ch == '+') return 62;
  if (ch == '/') return 63;
  return -1;
}

}  // namespace

bool DecodeBase64(std::string_view text, std::string& bytes) {
  if (text.size() % 4 != 0) return false;
  size_t padding = 0;
  if (!text.empty() && text.back() == '=') padding = text[text.size() - 2] == '=' ? 2 : 1;
  std::string out;
  out.reserve(text.size() / 4 * 3);
  for (size_t group = 0; group < text.size(); group += 4) {
    const bool last = group + 4 == text.size();
    const size_t digits = last ? 4 - padding : 4;
    uint32_t bits = 0;
    for (size_t i = 0; i < 4; ++i) {
      int value = 0;
      if (i < digits) {
        value = ValueOf(text[group + i]);
        if (value < 0) return false;  // also an '=' before the end
      }
      bits = bits << 6 | static_cast<uint32_t>(value);
    }
    out += static_cast<char>(bits >> 16 & 0xFF);
    if (digits > 2) out += static_cast<char>(bits >> 8 & 0xFF);
    if (digits > 3) out += static_cast<char>(bits & 0xFF);
    // Bits that padding leaves over must be zero: otherwise two texts would give one value.
    if (digits == 2 && (bits & 0xFFFF) != 0) return false;
    if (digits == 3 && (bits & 0xFF) != 0) return false;
  }
  bytes = std::move(out);
  return true;
}

std::string EncodeBase64(std::string_view bytes) {
  std::string text;
  text.reserve((bytes.size() + 2) / 3 * 4);
  for (size_t i = 0; i < bytes.size(); i += 3) {
    const size_t count = bytes.size() - i < 3 ? bytes.size() - i : 3;
    uint32_t bits = 0;
    for (size_t k = 0; k < 3; ++k)
      bits = bits << 8 | (k < count ? static_cast<unsigned char>(bytes[i + k]) : 0u);
    text += kAlphabet[bits >> 18 & 63];
    text += kAlphabet[bits >> 12 & 63];
    text += count > 1 ? kAlphabet[bits >> 6 & 63] : '=';
    text += count > 2 ? kAlphabet[bits & 63] : '=';
  }
  return text;
}
