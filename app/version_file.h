// The refresh of the local copy of the server's version file (the whole of the `update`
// command; the other commands call it when the copy is due). User-interface thread; Windows
// only.
#pragma once

#include <string>

class IniDocument;

// Downloads the version file from `url` with `agentName` as user agent and puts it in place
// of the copy at `localVersionFilePath` in one atomic rename, then stamps it with the time.
// False, with the local copy as it was, when there is no URL, the download fails, the body is
// not a version file, `launcherIni` names vendor keys and the download is not signed by one
// of them or is older than the copy, or the rename fails.
bool UpdateVersionFile(const std::string& url, const std::string& localVersionFilePath,
                       const std::string& agentName, const IniDocument& launcherIni);
