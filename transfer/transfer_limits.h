// The limits that keep a download from running or growing without end, in one place: the
// version file's deadline and size cap, the stall limit, and the resume schedule of a broken
// installer download. Portable. A transfer's policy (transfer_request.h) starts from these;
// tests pass shorter times through it.
#pragma once

#include <cstdint>

// A version-file download ends within this time, whatever the server does.
constexpr uint32_t kVersionFileDeadlineMs = 30000;
// ... and accepts no more bytes than the INI reader reads (kIniMaxFileBytes).
constexpr int kVersionFileMaxBytes = 1000000;
// No byte for this long counts as a broken connection.
constexpr uint32_t kStallLimitMs = 30000;
// A broken installer download is resumed this many times, after these pauses.
constexpr int kResumeAttempts = 3;
constexpr uint32_t kResumePausesMs[kResumeAttempts] = {1000, 2000, 4000};
// Progress messages: at most one waiting in the receiver's queue, and no more often than
// this (the dialog redraws at most every 100 ms unless the percentage changes).
constexpr uint32_t kProgressPostIntervalMs = 20;
// At the end, a transfer waits this long for its receiver to take the last progress message
// before it posts the final count.
constexpr uint32_t kFinalProgressWaitMs = 1000;
