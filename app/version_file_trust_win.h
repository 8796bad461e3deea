// The vendor's keys at work in the refresh: whether a downloaded version file may replace the
// local copy. User-interface thread.
#pragma once

#include <string>

class IniDocument;

// Without GENERAL/PUBLIC_KEY in `launcherIni`: true. Under it: true only when the file at
// `download` is signed by a listed key, its ISSUED is not below that of the file at
// `localCopy` and what it signed has a ZULAUNCHER_VERSION; otherwise false, with a log line
// naming the reason. A malformed key list refuses every download.
bool AcceptDownloadedVersionFile(const IniDocument& launcherIni, const std::string& download,
                                 const std::string& localCopy);
