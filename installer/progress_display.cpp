#include "installer/progress_display.h"

#include <climits>

#include "common/format.h"

int ProgressPercent(int bytes, int total) {
  if (total == 0) return -1;
  long long numerator = static_cast<long long>(bytes) * 100;
  long long divisor = total;
  if (divisor < 0) {
    numerator = -numerator;
    divisor = -divisor;
  }
  long long half = divisor / 2;
  long long result = numerator >= 0 ? (numerator + half) / divisor : (numerator - half) / divisor;
  if (result > INT_MAX || result < -INT_MAX) return -1;
  return static_cast<int>(result);
}

int ProgressTotal(int contentLength, int64_t expectedSize) {
  if (contentLength != -1) return contentLength;
  if (expectedSize <= 0) return kUnknownLengthFullBar;
  return expectedSize > INT_MAX ? INT_MAX : static_cast<int>(expectedSize);
}

bool ShouldRefreshProgress(uint32_t lastTick, int lastPercent, uint32_t now, int percent) {
  if (percent != lastPercent) return true;
  uint32_t elapsed = now - lastTick;  // unsigned: wraps with the tick count
  return elapsed > kProgressRefreshInterval;
}

std::string FormatByteCount(int bytes) {
  std::string text = Format("%d", bytes);
  size_t firstDigit = (!text.empty() && text[0] == '-') ? 1 : 0;
  // Insert from the right so earlier positions stay valid.
  for (size_t position = text.size(); position > firstDigit + 3;) {
    position -= 3;
    text.insert(position, 1, ',');
  }
  return text;
}
