// Registry value paths ("root\subkey\value name") taken apart, and registry data taken as
// text. Portable: the Windows side maps the root to its predefined key and reads the value.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

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

// On 64-bit Windows, 32-bit and 64-bit programs see HKEY_LOCAL_MACHINE\Software and
// HKEY_CLASSES_ROOT each in a view of their own, and an installer records its program in the
// view of its own architecture, which need not be the launcher's.
enum class RegistryView {
  Own,     // the view of the reading program (no flag)
  Bits64,  // KEY_WOW64_64KEY
  Bits32,  // KEY_WOW64_32KEY
};

// The views a value under `subkey` of `root` is looked up in, in order: the reading program's
// own; for HKEY_LOCAL_MACHINE\Software (its first name, letter case aside) and all of
// HKEY_CLASSES_ROOT then the other architecture's (`program64`: the reader is a 64-bit program).
// Every other key has one view for both.
std::vector<RegistryView> RegistryViewsToRead(RegistryRoot root, const std::string& subkey,
                                              bool program64);

// The text of registry data: the bytes up to the first zero byte, or all `size` bytes when
// the data carry no terminating zero. Never reads past `size`.
std::string RegistryDataToText(const unsigned char* data, size_t size);
