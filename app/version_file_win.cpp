#include <windows.h>

#include <algorithm>
#include <ctime>
#include <string>

#include "app/version_file.h"
#include "app/version_file_trust_win.h"
#include "app/version_refresh.h"
#include "common/text.h"
#include "download/version_file_download_win.h"
#include "download/web_address.h"
#include "env/directories_win.h"
#include "env/ini_profile_win.h"

namespace {

const char kGeneral[] = "GENERAL";
const char kLastUpdateTime[] = "LASTUPDATETIME";

int64_t CurrentTime() { return static_cast<int64_t>(std::time(nullptr)); }

// The profile layer may keep a cached copy of a file it has read; make it forget.
void DropProfileCache(const std::string& path) {
  ::WritePrivateProfileStringA(nullptr, nullptr, nullptr, path.c_str());
}

// The file functions take '/' as well as '\\' between names.
std::string DirectoryOf(const std::string& path) {
  size_t backslash = ReverseFindChar(path, '\\');
  size_t slash = ReverseFindChar(path, '/');
  size_t lastSeparator = backslash == std::string::npos ? slash
                         : slash == std::string::npos   ? backslash
                                                        : std::max(backslash, slash);
  return lastSeparator == std::string::npos ? std::string() : path.substr(0, lastSeparator + 1);
}

// One rename when the download lies beside the copy. When it could not be made there (the
// temporary directory took its place) and lies on another volume, a copying move is the only
// way; it is not atomic, but a failure still leaves the old copy or reports false.
bool PutInPlace(const std::string& download, const std::string& localCopy) {
  const DWORD flags = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;
  if (::MoveFileExA(download.c_str(), localCopy.c_str(), flags)) return true;
  if (::GetLastError() != ERROR_NOT_SAME_DEVICE) return false;
  return ::MoveFileExA(download.c_str(), localCopy.c_str(), flags | MOVEFILE_COPY_ALLOWED) != FALSE;
}

}  // namespace

bool UpdateVersionFile(const std::string& url, const std::string& localVersionFilePath,
                       const std::string& agentName, const IniDocument& launcherIni) {
  if (url.empty()) return false;
  // Only web addresses are fetched; anything else fails like a download that failed.
  if (!IsWebAddress(url)) return false;

  // The same file the profile reads see; the download lands beside it, on the same volume,
  // so that putting it in place is a single rename that either happens whole or not at all.
  const std::string localCopy = ResolveIniPath(localVersionFilePath);
  const std::string download = MakeTempFileName(DirectoryOf(localCopy));
  if (download.empty()) return false;  // no file could be created there

  const bool downloaded = DownloadVersionFile(url, download, agentName);
  // A body without ZULAUNCHER_VERSION (a portal's page served with status 200, say) is not a
  // version file, and under a vendor key only a signed, not older one is; keeping the old
  // copy lets the next run try again.
  if (!downloaded || !AcceptDownloadedVersionFile(launcherIni, download, localCopy) ||
      ReadIniString(kGeneral, "ZULAUNCHER_VERSION", download, "").empty()) {
    DropProfileCache(download);
    ::DeleteFileA(download.c_str());
    return false;
  }
  DropProfileCache(download);
  DropProfileCache(localCopy);
  if (!PutInPlace(download, localCopy)) {
    ::DeleteFileA(download.c_str());
    return false;
  }
  DropProfileCache(localCopy);
  // A copy whose stamp could not be written is simply due again next time.
  WriteIniString(kGeneral, kLastUpdateTime, FormatUpdateTime(CurrentTime()), localCopy);
  return true;
}
