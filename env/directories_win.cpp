#include "env/directories_win.h"

#include <windows.h>

#include "common/text.h"

namespace {

// Buffer sizes of the system queries, terminating zero included.
constexpr DWORD kModulePathBufferSize = 1040;
constexpr DWORD kDirectoryBufferSize = 260;

std::string QueryModuleDir() {
  char buffer[kModulePathBufferSize];
  DWORD length = ::GetModuleFileNameA(nullptr, buffer, kModulePathBufferSize);
  // A path that does not fit comes back cut (and before Vista without its zero): use only
  // the characters the call counted.
  if (length >= kModulePathBufferSize) length = kModulePathBufferSize - 1;
  std::string path(buffer, length);
  size_t lastSeparator = ReverseFindChar(path, '\\');
  return lastSeparator == std::string::npos ? std::string() : path.substr(0, lastSeparator + 1);
}

}  // namespace

std::string GetModuleDir() {
  // Initialised once, safely even when two threads arrive at the same time.
  static const std::string moduleDir = QueryModuleDir();
  return moduleDir;
}

std::string GetCurrentDir() {
  char buffer[kDirectoryBufferSize];
  DWORD length = ::GetCurrentDirectoryA(kDirectoryBufferSize, buffer);
  if (length == 0 || length >= kDirectoryBufferSize) return std::string();
  return std::string(buffer, length);
}

std::string GetTempDir() {
  char buffer[kDirectoryBufferSize];
  DWORD length = ::GetTempPathA(kDirectoryBufferSize, buffer);
  if (length == 0 || length >= kDirectoryBufferSize) return std::string();
  return std::string(buffer, length);
}

bool DirExists(const std::string& path) {
  DWORD attributes = ::GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool FileExists(const std::string& path) {
  DWORD attributes = ::GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}
