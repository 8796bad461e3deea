// A file that a transfer writes into, created by the caller and shared with the worker that
// runs the transfer.
//
// Ownership contract: the caller creates the record (through a std::shared_ptr, possibly of a
// derived type whose destructor cleans up) and the file in it, and hands both to
// StartTransferInto (transfer_win.h). The worker takes the write handle out of the record before it
// starts and closes it before it posts its completion message; it keeps its share of the record
// until it lets go of the transfer entirely, after the completion. Whoever lets go last destroys
// the record: usually the caller after it has used the file, but a worker that is still blocked in
// a read after its caller has gone (a cancel that gave up waiting) is a valid last owner too,
// so a derived destructor that removes the file also removes a partial file such a worker
// leaves behind. The destructor runs on whichever thread lets go last.
#pragma once

#include <atomic>
#include <cstdint>

#include "common/unique_handle_win.h"

struct HttpFileTarget {
  virtual ~HttpFileTarget() = default;

  // Written from its current position. The worker takes it; the caller must not touch it once
  // the transfer is set up.
  UniqueFileHandle file;
  // When the body was longer than the request's size limit (TransferPolicy::sizeLimit): set
  // by the worker before its completion message, read by the caller after it.
  std::atomic<bool> sizeLimitExceeded{false};
  // The bytes the server sent (or announced, when it announced more than the limit) when the
  // limit was exceeded: at most one chunk past the limit, since the transfer stops there.
  std::atomic<int64_t> bytesOffered{0};
};
