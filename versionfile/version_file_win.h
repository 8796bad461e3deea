// The refresh of the local copy of the server's version file (the whole of the `update`
// command; the other commands call it when the copy is due). User-interface thread; Windows
// only.
#pragma once

#include <string>

class IniDocument;

enum class VersionFileRefresh {
  Stored,       // the copy was replaced and stamped
  Unreachable,  // nothing arrived: no web address, no connection, a failed status, a stall,
                // the deadline or the size limit; another address may be tried
  Failed,       // it arrived and was refused (not a version file, or the vendor keys refused
                // it), or it could not be put in place: final
};

// Downloads the version file from `url` with `agentName` as user agent into memory and puts
// those bytes in place of the copy at `localVersionFilePath` in one atomic rename, then stamps
// it with the time: in the copy as LASTUPDATETIME without vendor keys; under them in the
// user's registry, so the copy stays the signed bytes, and the highest ISSUED accepted for
// `url` is recorded, with `url` as the address that served the copy. Anything but Stored
// leaves the local copy as it was. Under vendor keys, on Stored, `verifiedSignedPart` holds
// the signed part of the bytes stored.
VersionFileRefresh UpdateVersionFile(const std::string& url,
                                     const std::string& localVersionFilePath,
                                     const std::string& agentName, const IniDocument& launcherIni,
                                     std::string& verifiedSignedPart);
