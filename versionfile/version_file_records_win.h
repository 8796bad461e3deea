// What the launcher remembers about signed version files outside the local copy, in the
// current user's registry under HKEY_CURRENT_USER\Software\ZuLauncher\VersionFiles: the
// highest ISSUED ever accepted for a version file's address (so that an older signed file is
// refused even when the copy is gone) and, under vendor keys, the refresh time of each local
// copy (so that stamping it never changes the signed bytes). Per user: a user who can write
// these can only hold back his own refreshes, never another user's. User-interface thread.
#pragma once

#include <cstdint>
#include <string>

// Whose records are meant. Under a FEED_ID in the launcher INI they are the feed's, under
// ...\VersionFiles\Feeds, so that every address (mirrors) and every copy of one feed shares one
// floor and one refresh time; otherwise the floor is the address's and the refresh time the
// local copy's.
struct VersionFileRecords {
  std::string feedId;     // empty: the launcher INI names no (usable) FEED_ID
  std::string url;        // the version file's address
  std::string localCopy;  // the full path of the local copy
};

// The highest ISSUED accepted for them; false when none is recorded.
bool ReadHighestIssued(const VersionFileRecords& records, uint64_t& issued);
// Records `issued` unless a higher one is recorded; false when it cannot be written.
bool RaiseHighestIssued(const VersionFileRecords& records, uint64_t issued);

// LASTUPDATETIME of the copy, 0 when none is recorded.
int64_t ReadRefreshTime(const VersionFileRecords& records);
bool WriteRefreshTime(const VersionFileRecords& records, int64_t seconds);

// The address that served the copy at the full path `localCopy` (one of several mirrors),
// whose highest ISSUED the copy is held to at use; false when none is recorded.
bool ReadServingAddress(const std::string& localCopy, std::string& url);
bool WriteServingAddress(const std::string& localCopy, const std::string& url);
