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

// The text with %NAME% replaced from this process's environment (a name that is not set stays
// as written); false when the system cannot expand it.
bool ExpandEnvironment(const std::string& text, std::string& expanded) {
  std::vector<char> buffer(text.size() + 1);
  for (int attempt = 0; attempt < 4; ++attempt) {
    const DWORD size = static_cast<DWORD>(buffer.size());
    const DWORD needed = ::ExpandEnvironmentStringsA(text.c_str(), buffer.data(), size);
    if (needed == 0) return false;
    if (needed <= size) {
      expanded = RegistryDataToText(reinterpret_cast<const unsigned char*>(buffer.data()), size);
      return true;
    }
    // The environment may have grown between the calls: ask again with what it said.
    buffer.resize(needed);
  }
  return false;
}

}  // namespace

REGSAM RegistryViewFlag(RegistryView view) {
  switch (view) {
    case RegistryView::Own:
      return 0;
    case RegistryView::Bits64:
      return KEY_WOW64_64KEY;
    case RegistryView::Bits32:
      return KEY_WOW64_32KEY;
  }
  return 0;
}

bool ReadRegistryValue(const std::string& path, std::string& value, RegistryView* answered) {
  RegistryValuePath parts;
  if (!SplitRegistryValuePath(path, parts)) return false;
  return OpenRootKeyValue(parts.rootName, parts.subkey, parts.valueName, value, answered);
}

bool OpenRootKeyValue(const std::string& rootName, const std::string& subkey,
                      const std::string& valueName, std::string& value, RegistryView* answered) {
  RegistryRoot root;
  if (!FindRegistryRoot(rootName, root)) return false;
  // Only reading changes view: nothing the launcher writes goes through here.
  for (const RegistryView view : RegistryViewsToRead(root, subkey, kProgramIs64Bit)) {
    if (ReadKeyValue(PredefinedKey(root), subkey, valueName, value, RegistryViewFlag(view))) {
      if (answered) *answered = view;
      return true;
    }
  }
  return false;
}

bool ReadKeyValue(HKEY rootKey, const std::string& subkey, const std::string& valueName,
                  std::string& value, REGSAM view) {
  UniqueRegistryKey key;
  if (::RegOpenKeyExA(rootKey, subkey.c_str(), 0, kReadAccess | view, key.put()) != ERROR_SUCCESS) {
    return false;
  }
  DWORD size = 0;
  if (::RegQueryValueExA(key.get(), valueName.c_str(), nullptr, nullptr, nullptr, &size) !=
          ERROR_SUCCESS ||
      size == 0) {
    return false;
  }
  std::vector<unsigned char> data(size);
  DWORD type = REG_NONE;
  // `size` comes back as the number of bytes actually stored, which may be fewer.
  if (::RegQueryValueExA(key.get(), valueName.c_str(), nullptr, &type, data.data(), &size) !=
      ERROR_SUCCESS) {
    return false;
  }
  if (size > data.size()) return false;
  std::string text = RegistryDataToText(data.data(), size);
  // Installers write a folder under the user's profile as "%LOCALAPPDATA%\Programs\...".
  if (type == REG_EXPAND_SZ && !text.empty()) {
    std::string expanded;
    if (!ExpandEnvironment(text, expanded)) return false;
    text = std::move(expanded);
  }
  // A value holding only a terminating zero is as empty as one without data.
  if (text.empty()) return false;
  value = std::move(text);
  return true;
}
