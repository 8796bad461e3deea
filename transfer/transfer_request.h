// One transfer as the launcher asks for it: what to fetch, as whom, and the policy that
// bounds it. The engine's own entry points take it (transfer_win.h); HttpGetFile turns its
// positional arguments into one. Portable.
#pragma once

#include <cstdint>
#include <iterator>
#include <string>
#include <vector>

#include "transfer/transfer_limits.h"

// What bounds a transfer. The defaults are an installer download's: no deadline, the stall
// limit, and the resume schedule of transfer_limits.h.
struct TransferPolicy {
  uint32_t deadlineMs = 0;  // the whole transfer ends within this time; 0 = no deadline
  uint32_t stallLimitMs = kStallLimitMs;  // no byte for this long is a broken connection
  // A broken file-mode transfer is resumed once per entry, after that pause; empty = never.
  std::vector<uint32_t> resumePausesMs{std::begin(kResumePausesMs), std::end(kResumePausesMs)};
  // -1: none. Otherwise a body longer than this fails as soon as that shows (announced, or a
  // chunk that crosses it), and not one byte past it is stored.
  int64_t sizeLimit = -1;
};

struct TransferRequest {
  std::string url;
  std::string agent;    // the User-Agent; under 512 characters
  std::string headers;  // extra request header lines, sent with every request; may be empty
  int priority = 0;     // the thread priority of the transfer's threads
  TransferPolicy policy;
};
