#include "env/user_copy_win.h"

// clang-format off
#include <windows.h>  // first: shlobj.h needs its types
#include <shlobj.h>
// clang-format on

#include "common/crypto_random_win.h"
#include "common/unique_handle_win.h"
#include "env/directories_win.h"
#include "env/temp_name.h"
#include "env/user_copy.h"

namespace {

constexpr DWORD kPathBufferSize = MAX_PATH;

// Every user session has the variable, which costs no DLL; the shell's answer covers the rest.
std::string LocalAppDataDir() {
  char buffer[kPathBufferSize];
  DWORD length = ::GetEnvironmentVariableA("LOCALAPPDATA", buffer, kPathBufferSize);
  std::string dir = length > 0 && length < kPathBufferSize ? std::string(buffer, length) : "";
  // Only a full path: a relative one would land wherever the current directory is.
  if (dir.size() < 3 || dir[1] != ':') {
    dir.clear();
    if (::SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, buffer) ==
        S_OK)
      dir = buffer;
  }
  return dir.empty() ? dir : WithTrailingBackslash(dir);
}

std::string FullPathOf(const std::string& path) {
  char buffer[kPathBufferSize];
  const DWORD length = ::GetFullPathNameA(path.c_str(), kPathBufferSize, buffer, nullptr);
  return length > 0 && length < kPathBufferSize ? std::string(buffer, length) : std::string();
}

}  // namespace

std::string UserCopyOf(const std::string& path) {
  const std::string full = FullPathOf(path);
  const std::string relative = full.empty() ? std::string() : UserCopyRelativePath(full);
  const std::string base = relative.empty() ? std::string() : LocalAppDataDir();
  return base.empty() ? std::string() : base + relative;
}

bool MakeUserCopyFolder(const std::string& userCopy) {
  const std::string folder = FolderOfPath(userCopy);
  // Each name from the first below the drive on: the parents exist already or are made.
  for (size_t at = folder.find('\\', 3); at != std::string::npos; at = folder.find('\\', at + 1))
    ::CreateDirectoryA(folder.substr(0, at).c_str(), nullptr);
  return DirExists(folder);
}

bool FolderRefusesNewFiles(const std::string& folder) {
  const std::string base = WithTrailingBackslash(folder.empty() ? std::string(".") : folder);
  unsigned number = 0;
  for (int attempt = 0; attempt < kTempNameAttempts && CryptoRandomNumber(number); ++attempt) {
    // Gone as soon as it is closed; nobody else can open it meanwhile.
    UniqueFileHandle probe(
        ::CreateFileA(FormatTempCandidate(base, attempt, number).c_str(), GENERIC_WRITE, 0, nullptr,
                      CREATE_NEW, FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    if (probe) return false;
    const DWORD error = ::GetLastError();
    if (error != ERROR_FILE_EXISTS) return IsWriteRefusal(error);
  }
  return false;
}
