#include "env/ini_profile_win.h"

#include <windows.h>

#include <vector>

#include "common/format.h"
#include "env/directories_win.h"
#include "env/ini_path.h"

namespace {
// Characters read for one value, terminating zero included.
constexpr DWORD kValueBufferSize = 9999;
}  // namespace

std::string ResolveIniPath(std::string path) {
  return ResolveIniPathAt(path, GetModuleDir());
}

std::string ReadIniString(const std::string& section, const std::string& key, std::string path,
                          const std::string& defaultValue) {
  path = ResolveIniPath(std::move(path));
  std::vector<char> buffer(kValueBufferSize);
  DWORD length = ::GetPrivateProfileStringA(section.c_str(), key.c_str(), defaultValue.c_str(),
                                            buffer.data(), kValueBufferSize, path.c_str());
  if (length >= kValueBufferSize) length = kValueBufferSize - 1;
  return std::string(buffer.data(), length);
}

bool WriteIniString(const std::string& section, const std::string& key, const std::string& value,
                    std::string path) {
  path = ResolveIniPath(std::move(path));
  return ::WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), path.c_str()) !=
         FALSE;
}

int ReadIniInt(const std::string& section, const std::string& key, int defaultValue,
               std::string path) {
  path = ResolveIniPath(std::move(path));
  // The platform returns the signed value in an unsigned type.
  return static_cast<int>(
      ::GetPrivateProfileIntA(section.c_str(), key.c_str(), defaultValue, path.c_str()));
}

bool WriteIniInt(const std::string& section, const std::string& key, int value, std::string path) {
  return WriteIniString(section, key, Format("%d", value), std::move(path));
}
