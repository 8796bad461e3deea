// When the local copy of the version file is due for a refresh, and how its refresh time is
// stored. Times are 64-bit seconds since 1970 written as decimal text, so they stay right
// past 2038 and files stamped by 32-bit writers read the same.
#pragma once

#include <cstdint>
#include <string>

constexpr int64_t kVersionFileRefreshSeconds = 10800;  // three hours

// Due when forced, or when `now` is more than `periodSeconds` (three hours unless an
// administrator chose otherwise) after or before the stamp. A period of 0 refreshes by age
// never: only when forced or when the copy was never stamped (0).
bool IsVersionFileDue(int64_t now, int64_t lastUpdateTime, unsigned forceCheck,
                      int64_t periodSeconds = kVersionFileRefreshSeconds);

// The same for a copy that must verify first (under vendor keys): one that does not is
// treated as absent, and is due whatever its stamp.
bool IsLocalCopyDue(bool verified, int64_t now, int64_t lastUpdateTime, unsigned forceCheck,
                    int64_t periodSeconds = kVersionFileRefreshSeconds);

// Decimal text as the profile functions read integers: leading blanks, an optional sign,
// digits up to the first other byte; no digits or a value beyond 64 bits gives 0.
int64_t ParseUpdateTime(const std::string& text);
std::string FormatUpdateTime(int64_t seconds);
