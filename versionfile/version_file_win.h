// The refresh of the local copy of the server's version file (the whole of the `update`
// command; the other commands call it when the copy is due). User-interface thread; Windows
// only.
#pragma once

#include <string>

class IniDocument;

// Downloads the version file from `url` with `agentName` as user agent into memory and puts
// those bytes in place of the copy at `localVersionFilePath` in one atomic rename, then stamps
// it with the time: in the copy as LASTUPDATETIME without vendor keys; under them in the
// user's registry, so the copy stays the signed bytes, and the highest ISSUED accepted for
// `url` is recorded. False, with the local copy as it was, when there is no URL, the download
// fails, the body is not a version file, `launcherIni` names vendor keys and the download is
// refused by them (version_file_trust.h), no temporary file can be made, or the rename fails.
// Under vendor keys, on true, `verifiedSignedPart` holds the signed part of the bytes stored.
bool UpdateVersionFile(const std::string& url, const std::string& localVersionFilePath,
                       const std::string& agentName, const IniDocument& launcherIni,
                       std::string& verifiedSignedPart);
