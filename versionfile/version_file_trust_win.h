// The vendor's keys at work: the decision on a downloaded version file before it replaces the
// local copy, and on the local copy each time a command is about to read it. The highest
// ISSUED accepted for the address (version_file_records_win.h) and the clock bound both.
// User-interface thread.
#pragma once

#include <string>
#include <string_view>

#include "versionfile/version_file_records_win.h"
#include "versionfile/version_file_trust.h"

class IniDocument;

// Where a version file comes from and goes to, and which feed it must be for.
struct VersionFileOrigin {
  bool hasFeedId = false;  // the launcher INI names FEED_ID
  std::string feedId;
  std::string url;
  std::string localCopy;  // full path
};

VersionFileOrigin OriginOf(const IniDocument& launcherIni, const std::string& url,
                           const std::string& localCopy);
// The feed's records under a usable FEED_ID, else the address's and the copy's.
VersionFileRecords RecordsOf(const VersionFileOrigin& origin);

// Judges the bytes of a download from `origin.url` against `keys` (the launcher INI's
// PUBLIC_KEY), the feed, the ISSUED of the local copy (when it can be read and verifies), the
// highest ISSUED recorded and EXPIRES. Logs nothing: the caller logs after it has acted.
VersionFileCheck JudgeDownloadedVersionFile(const std::string& keys, std::string_view download,
                                            const VersionFileOrigin& origin);

// Reads the local copy once and judges those bytes as a download would be judged (but for
// the ISSUED of a copy, which it is itself). True with the signed part of those bytes in
// `signedPart`; false, with one log line naming the reason, when it is missing, unreadable,
// too large or refused.
bool LoadVerifiedLocalCopy(const std::string& keys, const VersionFileOrigin& origin,
                           std::string& signedPart);
