// What the launcher remembers about signed version files outside the local copy, in the
// current user's registry under HKEY_CURRENT_USER\Software\ZuLauncher\VersionFiles: the
// highest ISSUED ever accepted for a version file's address (so that an older signed file is
// refused even when the copy is gone) and, under vendor keys, the refresh time of each local
// copy (so that stamping it never changes the signed bytes). Per user: a user who can write
// these can only hold back his own refreshes, never another user's. User-interface thread.
#pragma once

#include <cstdint>
#include <string>

// The highest ISSUED accepted for `url`; false when none is recorded.
bool ReadHighestIssued(const std::string& url, uint64_t& issued);
// Records `issued` for `url` unless a higher one is recorded; false when it cannot be written.
bool RaiseHighestIssued(const std::string& url, uint64_t issued);

// LASTUPDATETIME of the copy at the full path `localCopy`, 0 when none is recorded.
int64_t ReadRefreshTime(const std::string& localCopy);
bool WriteRefreshTime(const std::string& localCopy, int64_t seconds);

// The address that served the copy at `localCopy` (one of several mirrors), whose highest
// ISSUED the copy is held to at use; false when none is recorded.
bool ReadServingAddress(const std::string& localCopy, std::string& url);
bool WriteServingAddress(const std::string& localCopy, const std::string& url);
