#include "transfer/transfer_rules.h"

#include <climits>

int NextTransferId(int previous) {
  return static_cast<int>((static_cast<int64_t>(previous) + 1) % 0x7FFFFFFF);
}

int ParseContentLength(const char* text) {
  if (!text) return 0;
  while (*text == ' ' || *text == '\t' || *text == '\r' || *text == '\n' || *text == '\v' ||
         *text == '\f') {
    ++text;
  }
  bool negative = false;
  if (*text == '+' || *text == '-') negative = *text++ == '-';
  int64_t value = 0;
  for (; *text >= '0' && *text <= '9'; ++text) {
    if (value <= INT_MAX) value = value * 10 + (*text - '0');  // stop growing once past
  }
  if (negative) value = -value;
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

bool IsSuccessStatus(const char* statusText) { return statusText && statusText[0] == '2'; }

bool BodyEndedShort(int64_t expectedBytes, int64_t storedBytes) {
  return expectedBytes >= 0 && storedBytes < expectedBytes;
}

bool ByteLimitReached(int maxBytes, int64_t storedBytes) {
  return maxBytes != -1 && storedBytes >= maxBytes;
}

int64_t BytesWithinSizeLimit(int64_t sizeLimit, int64_t storedBytes, int64_t read) {
  if (sizeLimit < 0 || storedBytes + read <= sizeLimit) return read;
  return storedBytes >= sizeLimit ? 0 : sizeLimit - storedBytes;
}

int ClampToInt(int64_t value) {
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

CancelVerdict JudgeCancelRequest(int cancelRequest, int cancelTarget, int transferId) {
  if (!cancelRequest) return CancelVerdict::GoOn;
  if (cancelTarget == -1) return CancelVerdict::StopAll;
  if (cancelTarget == transferId) return CancelVerdict::StopThis;
  return CancelVerdict::GoOn;
}
