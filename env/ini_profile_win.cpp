#include "env/ini_profile_win.h"

#include <windows.h>

#include <algorithm>
#include <vector>

#include "common/format.h"
#include "common/text.h"
#include "env/directories_win.h"
#include "env/ini_path.h"

namespace {
// Characters read for one value, terminating zero included.
constexpr DWORD kValueBufferSize = 9999;
// The list of section names is read into a buffer that doubles up to this size; a longer
// list is cut, as a longer value is.
constexpr DWORD kLargestSectionList = 1 << 20;
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

bool HasIniSection(const std::string& section, std::string path) {
  path = ResolveIniPath(std::move(path));
  std::vector<char> names(4096);
  DWORD length = 0;
  for (;;) {
    const DWORD size = static_cast<DWORD>(names.size());
    length = ::GetPrivateProfileSectionNamesA(names.data(), size, path.c_str());
    // A list that did not fit comes back as the buffer's size less two.
    if (length + 2 < size || size >= kLargestSectionList) break;
    names.resize(2 * names.size());
  }
  // Names, each ending in a zero byte, then one more zero byte.
  const char* const end = names.data() + length;
  for (const char* name = names.data(); name < end;) {
    const char* const nameEnd = std::find(name, end, '\0');
    if (EqualsNoCase(std::string(name, nameEnd), section)) return true;
    name = nameEnd + 1;
  }
  return false;
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
