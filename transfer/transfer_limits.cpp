#include "transfer/transfer_limits.h"

#include <atomic>

namespace {

std::atomic<uint32_t> g_versionFileDeadlineMs{kVersionFileDeadlineMs};
std::atomic<uint32_t> g_stallLimitMs{kStallLimitMs};
std::atomic<uint32_t> g_resumePausesMs[kResumeAttempts] = {
    {kResumePausesMs[0]}, {kResumePausesMs[1]}, {kResumePausesMs[2]}};
static_assert(kResumeAttempts == 3, "one initial pause per attempt");

}  // namespace

TransferTiming DefaultTransferTiming() {
  TransferTiming timing{kVersionFileDeadlineMs, kStallLimitMs, {}};
  for (int attempt = 0; attempt < kResumeAttempts; ++attempt) {
    timing.resumePausesMs[attempt] = kResumePausesMs[attempt];
  }
  return timing;
}

TransferTiming CurrentTransferTiming() {
  TransferTiming timing{g_versionFileDeadlineMs.load(), g_stallLimitMs.load(), {}};
  for (int attempt = 0; attempt < kResumeAttempts; ++attempt) {
    timing.resumePausesMs[attempt] = g_resumePausesMs[attempt].load();
  }
  return timing;
}

void SetTransferTimingForTests(const TransferTiming& timing) {
  g_versionFileDeadlineMs.store(timing.versionFileDeadlineMs);
  g_stallLimitMs.store(timing.stallLimitMs);
  for (int attempt = 0; attempt < kResumeAttempts; ++attempt) {
    g_resumePausesMs[attempt].store(timing.resumePausesMs[attempt]);
  }
}
