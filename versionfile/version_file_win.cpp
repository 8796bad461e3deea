#include "versionfile/version_file_win.h"

#include <windows.h>

#include <algorithm>
#include <ctime>
#include <string>
#include <vector>

#include "common/text.h"
#include "common/unique_handle_win.h"
#include "env/directories_win.h"
#include "env/ini_profile_win.h"
#include "env/log.h"
#include "transfer/web_address.h"
#include "versionfile/signed_version_file.h"
#include "versionfile/version_file_download_win.h"
#include "versionfile/version_file_records_win.h"
#include "versionfile/version_file_trust_win.h"
#include "versionfile/version_refresh.h"

namespace {

const char kGeneral[] = "GENERAL";
const char kLastUpdateTime[] = "LASTUPDATETIME";

int64_t CurrentTime() {
  return static_cast<int64_t>(std::time(nullptr));
}

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
// user's temporary directory took its place) and lies on another volume, a copying move is the only
// way; it is not atomic, but a failure still leaves the old copy or reports false.
bool PutInPlace(const std::string& download, const std::string& localCopy) {
  const DWORD flags = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;
  if (::MoveFileExA(download.c_str(), localCopy.c_str(), flags)) return true;
  if (::GetLastError() != ERROR_NOT_SAME_DEVICE) return false;
  return ::MoveFileExA(download.c_str(), localCopy.c_str(), flags | MOVEFILE_COPY_ALLOWED) != FALSE;
}

// Renames the open `file` to the full path `target`, replacing what lies there. False when
// the system cannot (another volume, say): the caller then moves the closed file by name.
bool RenameHeldFile(HANDLE file, const std::string& target) {
  const int units = ::MultiByteToWideChar(CP_ACP, 0, target.c_str(), -1, nullptr, 0);
  if (units <= 0) return false;
  std::vector<unsigned char> buffer(sizeof(FILE_RENAME_INFO) + sizeof(WCHAR) * units);
  auto* info = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
  info->ReplaceIfExists = TRUE;
  info->RootDirectory = nullptr;
  info->FileNameLength = static_cast<DWORD>(sizeof(WCHAR) * (units - 1));
  ::MultiByteToWideChar(CP_ACP, 0, target.c_str(), -1, info->FileName, units);
  return ::SetFileInformationByHandle(file, FileRenameInfo, info,
                                      static_cast<DWORD>(buffer.size())) != FALSE;
}

// The whole of `bytes` into `file`, flushed to the disk before anyone renames it.
bool WriteAllAndFlush(HANDLE file, const std::string& bytes) {
  DWORD written = 0;
  if (!bytes.empty() &&
      (!::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
       written != bytes.size()))
    return false;
  return ::FlushFileBuffers(file) != FALSE;
}

}  // namespace

VersionFileRefresh UpdateVersionFile(const std::string& url,
                                     const std::string& localVersionFilePath,
                                     const std::string& agentName, const IniDocument& launcherIni,
                                     std::string& verifiedSignedPart) {
  constexpr VersionFileRefresh kFailed = VersionFileRefresh::Failed;
  // Only web addresses are fetched; anything else fails like a download that failed.
  if (url.empty() || !IsWebAddress(url)) return VersionFileRefresh::Unreachable;
  const std::string localCopy = ResolveIniPath(localVersionFilePath);

  // Read once into memory and judged there: the bytes judged are the bytes stored.
  std::string body;
  if (!DownloadVersionFileBytes(url, agentName, body)) return VersionFileRefresh::Unreachable;
  std::string keys;
  const bool underKeys = FindPublicKeySetting(launcherIni, keys);
  VersionFileCheck check;
  const VersionFileOrigin origin = OriginOf(launcherIni, url, localCopy);
  if (underKeys) {
    check = JudgeDownloadedVersionFile(keys, body, origin);
    if (check.verdict != VersionFileVerdict::Accepted) {
      LogLine("version file refused: %s", DescribeVersionFileCheck(check).c_str());
      return kFailed;
    }
  }

  // Beside the copy, on the same volume, so that putting it in place is a single rename that
  // either happens whole or not at all; the file is ours alone to write until it is closed.
  std::string download;
  UniqueFileHandle file = CreateTempFile(DirectoryOf(localCopy), download);
  if (!file) return kFailed;  // neither there nor in the user's temporary folder
  const bool written = WriteAllAndFlush(file.get(), body);
  // Under keys the file is renamed while still held, so that between the check and the move
  // nobody can change its bytes or put another file at its name.
  DropProfileCache(localCopy);
  const bool placed = written && underKeys && RenameHeldFile(file.get(), localCopy);
  file.reset();
  if (!placed) {
    // Without keys, a body without ZULAUNCHER_VERSION (a portal's page served with status
    // 200, say) is not a version file; keeping the old copy lets the next run try again.
    if (!written ||
        (!underKeys && ReadIniString(kGeneral, "ZULAUNCHER_VERSION", download, "").empty())) {
      DropProfileCache(download);
      ::DeleteFileA(download.c_str());
      return kFailed;
    }
    DropProfileCache(download);
    if (!PutInPlace(download, localCopy)) {
      ::DeleteFileA(download.c_str());
      return kFailed;
    }
  }
  DropProfileCache(localCopy);
  if (!underKeys) {
    // A copy whose stamp could not be written is simply due again next time.
    WriteIniString(kGeneral, kLastUpdateTime, FormatUpdateTime(CurrentTime()), localCopy);
    return VersionFileRefresh::Stored;
  }
  // The copy stays the signed bytes: its stamp is kept apart, and the floor rises only once
  // the file is in place. The log line (a message to another process) comes last.
  if (!RaiseHighestIssued(RecordsOf(origin), check.issued))
    LogLine("version file: the highest ISSUED could not be recorded");
  WriteRefreshTime(RecordsOf(origin), CurrentTime());
  WriteServingAddress(localCopy, url);
  LogLine("version file accepted: %s", DescribeVersionFileCheck(check).c_str());
  std::string_view signedBytes;
  std::string signature;
  SplitSignedVersionFile(body, signedBytes, signature);  // succeeded inside the check
  verifiedSignedPart.assign(signedBytes.data(), signedBytes.size());
  return VersionFileRefresh::Stored;
}
