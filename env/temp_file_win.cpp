// MakeTempFileName: the base directory, the numbered attempts and the last-resort folder.
#include <windows.h>

#include "common/crypto_random_win.h"
#include "common/unique_handle_win.h"
#include "env/directories_win.h"
#include "env/temp_name.h"

namespace {

std::string EnsureDirectoryBase(const char* directory) {
  ::CreateDirectoryA(directory, nullptr);
  return DirExists(directory) ? WithTrailingBackslash(directory) : std::string();
}

std::string ChooseBase(const std::string& directory) {
  if (!directory.empty() && DirExists(directory)) {
    std::string base = WithTrailingBackslash(directory);
    // A base too long for the names formed on it is passed over like a missing one.
    if (TempCandidateFits(base)) return base;
  }
  std::string base = GetTempDir();
  if (!base.empty() && TempCandidateFits(base)) return base;
  if (DirExists("c:\\windows\\temp\\")) return "c:\\windows\\temp\\";
  base = EnsureDirectoryBase("c:\\temp");
  return base.empty() ? "c:\\" : base;
}

// Creates `name` empty, only when nothing of that name exists: another process asking for a
// name at the same moment can never be handed the same file.
bool CreateNewEmptyFile(const std::string& name) {
  UniqueFileHandle file(::CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
  return static_cast<bool>(file);
}

}  // namespace

std::string MakeTempFileNameWith(const std::string& directory,
                                 const std::function<bool(unsigned&)>& nextNumber) {
  const std::string base = ChooseBase(directory);
  unsigned number = 0;
  for (int attempt = 0; attempt < kTempNameAttempts && nextNumber(number); ++attempt) {
    // A file or a directory of that name makes the creation fail: the next number is tried.
    const std::string name = FormatTempCandidate(base, attempt, number);
    if (CreateNewEmptyFile(name)) return name;
  }
  std::string lastResortBase = EnsureDirectoryBase("c:\\temp");
  if (lastResortBase.empty()) lastResortBase = "c:\\";
  for (int attempt = 0; attempt < kTempNameAttempts && nextNumber(number); ++attempt) {
    const std::string name =
        FormatFallbackTempName(lastResortBase, static_cast<int>(number & 0xFFFFFFu));
    if (CreateNewEmptyFile(name)) return name;
  }
  return std::string();
}

std::string MakeTempFileName(const std::string& directory) {
  return MakeTempFileNameWith(directory, CryptoRandomNumber);
}
