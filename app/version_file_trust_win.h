// The vendor's keys at work in the launcher: whether the launcher INI names any, and whether
// a downloaded version file may replace the local copy under them. User-interface thread.
#pragma once

#include <string>

// True when the launcher INI has GENERAL/PUBLIC_KEY, well-formed or not: a malformed key
// list still means the vendor wants signed files and pinned installers.
bool IsUnderVendorKey();

// Without a vendor key: true. Under one: true only when the file at `download` is signed by
// a listed key, its ISSUED is not below that of the file at `localCopy` and what it signed
// has a ZULAUNCHER_VERSION; otherwise false, with a log line naming the reason.
bool AcceptDownloadedVersionFile(const std::string& download, const std::string& localCopy);
