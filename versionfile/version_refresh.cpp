#include "versionfile/version_refresh.h"

#include <limits>

bool IsVersionFileDue(int64_t now, int64_t lastUpdateTime, unsigned forceCheck,
                      int64_t periodSeconds) {
  if (forceCheck != 0) return true;
  if (periodSeconds == 0) return lastUpdateTime == 0;
  // Compare without forming a difference that could overflow for hostile stamps.
  if (lastUpdateTime < now) return now - periodSeconds > lastUpdateTime;
  return lastUpdateTime - periodSeconds > now;
}

bool IsLocalCopyDue(bool verified, int64_t now, int64_t lastUpdateTime, unsigned forceCheck,
                    int64_t periodSeconds) {
  return !verified || IsVersionFileDue(now, lastUpdateTime, forceCheck, periodSeconds);
}

int64_t ParseUpdateTime(const std::string& text) {
  size_t position = 0;
  while (position < text.size() && (text[position] == ' ' || text[position] == '\t')) ++position;
  bool negative = false;
  if (position < text.size() && (text[position] == '+' || text[position] == '-')) {
    negative = text[position] == '-';
    ++position;
  }
  uint64_t magnitude = 0;
  const uint64_t limit = static_cast<uint64_t>(std::numeric_limits<int64_t>::max());
  for (; position < text.size() && text[position] >= '0' && text[position] <= '9'; ++position) {
    const uint64_t digit = static_cast<uint64_t>(text[position] - '0');
    if (magnitude > (limit - digit) / 10) return 0;  // checked before it could wrap
    magnitude = magnitude * 10 + digit;
  }
  int64_t value = static_cast<int64_t>(magnitude);
  return negative ? -value : value;
}

std::string FormatUpdateTime(int64_t seconds) { return std::to_string(seconds); }
