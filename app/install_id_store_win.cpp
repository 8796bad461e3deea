#include "app/install_id_store_win.h"

#include <windows.h>

#include "common/unique_handle_win.h"
#include "env/registry_path_win.h"

namespace {

const char kLauncherKey[] = "Software\\ZuLauncher";
const char kInstallIdValue[] = "InstallId";

}  // namespace

bool ReadStoredInstallId(std::string& id) {
  return ReadKeyValue(HKEY_CURRENT_USER, kLauncherKey, kInstallIdValue, id);
}

bool StoreInstallId(const std::string& id) {
  UniqueRegistryKey key;
  if (::RegCreateKeyExA(HKEY_CURRENT_USER, kLauncherKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_SET_VALUE, nullptr, key.put(), nullptr) != ERROR_SUCCESS)
    return false;
  // The terminating zero is part of a REG_SZ value's data.
  return ::RegSetValueExA(key.get(), kInstallIdValue, 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(id.c_str()),
                          static_cast<DWORD>(id.size() + 1)) == ERROR_SUCCESS;
}
