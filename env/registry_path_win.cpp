#include "env/registry_path_win.h"

#include <vector>

#include "common/unique_handle_win.h"
#include "env/registry_path.h"

namespace {

// KEY_READ: the launcher only ever reads.
constexpr REGSAM kReadAccess = 0x20019;

HKEY PredefinedKey(RegistryRoot root) {
  switch (root) {
    case RegistryRoot::ClassesRoot:
      return HKEY_CLASSES_ROOT;
    case RegistryRoot::CurrentUser:
      return HKEY_CURRENT_USER;
    case RegistryRoot::LocalMachine:
      return HKEY_LOCAL_MACHINE;
    case RegistryRoot::Users:
      return HKEY_USERS;
    case RegistryRoot::PerformanceData:
      return HKEY_PERFORMANCE_DATA;
    case RegistryRoot::CurrentConfig:
      return HKEY_CURRENT_CONFIG;
    case RegistryRoot::DynData:
      return HKEY_DYN_DATA;
  }
  return nullptr;
}

}  // namespace

bool ReadRegistryValue(const std::string& path, std::string& value) {
  RegistryValuePath parts;
  if (!SplitRegistryValuePath(path, parts)) return false;
  return OpenRootKeyValue(parts.rootName, parts.subkey, parts.valueName, value);
}

bool OpenRootKeyValue(const std::string& rootName, const std::string& subkey,
                      const std::string& valueName, std::string& value) {
  RegistryRoot root;
  if (!FindRegistryRoot(rootName, root)) return false;
  return ReadKeyValue(PredefinedKey(root), subkey, valueName, value);
}

bool ReadKeyValue(HKEY rootKey, const std::string& subkey, const std::string& valueName,
                  std::string& value) {
  UniqueRegistryKey key;
  if (::RegOpenKeyExA(rootKey, subkey.c_str(), 0, kReadAccess, key.put()) != ERROR_SUCCESS) {
    return false;
  }
  DWORD size = 0;
  if (::RegQueryValueExA(key.get(), valueName.c_str(), nullptr, nullptr, nullptr, &size) !=
          ERROR_SUCCESS ||
      size == 0) {
    return false;
  }
  std::vector<unsigned char> data(size);
  // `size` comes back as the number of bytes actually stored, which may be fewer.
  if (::RegQueryValueExA(key.get(), valueName.c_str(), nullptr, nullptr, data.data(), &size) !=
      ERROR_SUCCESS) {
    return false;
  }
  if (size > data.size()) return false;
  std::string text = RegistryDataToText(data.data(), size);
  // A value holding only a terminating zero is as empty as one without data.
  if (text.empty()) return false;
  value = std::move(text);
  return true;
}
