// Shortened engine times for a test's lifetime (a stall in a second, resume pauses of a few
// tens of milliseconds), restored afterwards.
#pragma once

#include "transfer/transfer_limits.h"

class ShortTransferTiming {
 public:
  explicit ShortTransferTiming(uint32_t versionFileDeadlineMs = kVersionFileDeadlineMs) {
    SetTransferTimingForTests({versionFileDeadlineMs, 1000, {50, 100, 200}});
  }
  ~ShortTransferTiming() { SetTransferTimingForTests(DefaultTransferTiming()); }
  ShortTransferTiming(const ShortTransferTiming&) = delete;
  ShortTransferTiming& operator=(const ShortTransferTiming&) = delete;
};
