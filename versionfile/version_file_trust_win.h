// The vendor's keys at work: the decision on a downloaded version file before it replaces the
// local copy, and on the local copy each time a command is about to read it. The highest
// ISSUED accepted for the address (version_file_records_win.h) and the clock bound both.
// User-interface thread.
#pragma once

#include <string>
#include <string_view>

#include "versionfile/version_file_trust.h"

// Judges the bytes of a download from `url` against `keys` (the launcher INI's PUBLIC_KEY),
// the ISSUED of the file at `localCopy` (when it can be read), the highest ISSUED recorded
// for `url` and EXPIRES. Logs nothing: the caller logs after it has acted.
VersionFileCheck JudgeDownloadedVersionFile(const std::string& keys, std::string_view download,
                                            const std::string& localCopy, const std::string& url);

// Reads the copy at `localCopy` once and judges those bytes as a download from `url` would
// be judged (but for the ISSUED of a copy, which it is itself). True with the signed part of
// those bytes in `signedPart`; false, with one log line naming the reason, when it is
// missing, unreadable, too large or refused.
bool LoadVerifiedLocalCopy(const std::string& keys, const std::string& localCopy,
                           const std::string& url, std::string& signedPart);
