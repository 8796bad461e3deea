#include "xml/xml_number.h"

#include <climits>
#include <cstdint>

namespace {

bool IsCSpace(char byte) {
  return byte == ' ' || byte == '\t' || byte == '\n' || byte == '\v' || byte == '\f' ||
         byte == '\r';
}

bool IsDigit(char byte) {
  return byte >= '0' && byte <= '9';
}

// Skips whitespace and a sign; returns the position of what follows.
size_t SkipSpaceAndSign(const std::string& text, bool& negative) {
  size_t position = 0;
  while (position < text.size() && IsCSpace(text[position])) ++position;
  negative = false;
  if (position < text.size() && (text[position] == '+' || text[position] == '-')) {
    negative = text[position] == '-';
    ++position;
  }
  return position;
}

}  // namespace

int ParseIntLikeAtoi(const std::string& text) {
  bool negative = false;
  size_t position = SkipSpaceAndSign(text, negative);
  // One past INT_MAX in magnitude is enough to know the value is out of range either way.
  const int64_t limit = static_cast<int64_t>(INT_MAX) + 1;
  int64_t magnitude = 0;
  for (; position < text.size() && IsDigit(text[position]); ++position) {
    if (magnitude < limit) magnitude = magnitude * 10 + (text[position] - '0');
  }
  if (magnitude > limit) magnitude = limit;
  int64_t value = negative ? -magnitude : magnitude;
  if (value > INT_MAX) return INT_MAX;
  return static_cast<int>(value);
}

bool ScanUnsignedLikeScanf(const std::string& text, unsigned& out) {
  bool negative = false;
  size_t position = SkipSpaceAndSign(text, negative);
  if (position >= text.size() || !IsDigit(text[position])) return false;
  uint32_t value = 0;
  for (; position < text.size() && IsDigit(text[position]); ++position) {
    value = value * 10u + static_cast<uint32_t>(text[position] - '0');
  }
  out = negative ? 0u - value : value;
  return true;
}
