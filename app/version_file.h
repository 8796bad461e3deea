// The refresh of the local copy of the server's version file (the whole of the `update`
// command; the other commands call it when the copy is due). User-interface thread; Windows
// only.
#pragma once

#include <string>

// Downloads the version file from `url` with `agentName` as user agent and puts it in place
// of the copy at `localVersionFilePath` in one atomic rename, then stamps it with the time.
// False, with the local copy as it was, when there is no URL, the download fails, the body is
// not a version file, or the rename fails.
bool UpdateVersionFile(const std::string& url, const std::string& localVersionFilePath,
                       const std::string& agentName);
