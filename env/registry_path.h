// Registry value paths ("root\subkey\value name") taken apart, and registry data taken as
// text. Portable: the Windows side maps the root to its predefined key and reads the value.
#pragma once

#include <cstddef>
#include <string>

struct RegistryValuePath {
  std::string rootName;   // text before the first backslash
  std::string subkey;     // between the first and the last backslash; may be empty
  std::string valueName;  // after the last backslash; empty names the default value
};

// False (and `parts` untouched) when the path has no backslash. Multibyte-aware: a trail
// byte 0x5C of a double-byte character is not a separator.
bool SplitRegistryValuePath(const std::string& path, RegistryValuePath& parts);

enum class RegistryRoot {
  ClassesRoot,
  CurrentUser,
  LocalMachine,
  Users,
  PerformanceData,
  CurrentConfig,
  DynData,
};

// Maps "HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER", ... compared exactly and case-sensitively;
// false for any other name.
bool FindRegistryRoot(const std::string& rootName, RegistryRoot& root);

// The text of registry data: the bytes up to the first zero byte, or all `size` bytes when
// the data carry no terminating zero. Never reads past `size`.
std::string RegistryDataToText(const unsigned char* data, size_t size);
