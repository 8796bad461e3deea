// MakeTempFileName: the base directory, the numbered attempts and the last resort.
#include <windows.h>

#include <cstdlib>

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

bool CreateEmptyFile(const std::string& name) {
  UniqueFileHandle file(::CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
  return static_cast<bool>(file);
}

}  // namespace

std::string MakeTempFileNameWithClock(const std::string& directory,
                                      const std::function<unsigned()>& tickCount) {
  const std::string base = ChooseBase(directory);
  for (int attempt = 0; attempt < kTempNameAttempts; ++attempt) {
    std::string name = FormatTempCandidate(base, attempt, tickCount());
    if (FileExists(name)) continue;
    // A directory of that name passes the existence test; the creation then fails.
    if (CreateEmptyFile(name)) return name;
  }
  std::string lastResortBase = EnsureDirectoryBase("c:\\temp");
  if (lastResortBase.empty()) lastResortBase = "c:\\";
  return FormatFallbackTempName(lastResortBase, std::rand());
}

std::string MakeTempFileName(const std::string& directory) {
  return MakeTempFileNameWithClock(directory,
                                   [] { return static_cast<unsigned>(::GetTickCount()); });
}
