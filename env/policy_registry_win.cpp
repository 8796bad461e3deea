#include "env/policy_registry_win.h"

#include <windows.h>

#include <vector>

#include "common/unique_handle_win.h"
#include "env/registry_path.h"

PolicyValue ReadPolicyValue(PolicyScope scope, const std::string& programId,
                            const std::string& name) {
  PolicyValue value;
  std::string subkey = kPolicyKey;
  if (IsProgramScope(scope)) subkey += "\\" + programId;
  UniqueRegistryKey key;
  if (::RegOpenKeyExA(IsMachineScope(scope) ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER, subkey.c_str(), 0,
                      KEY_QUERY_VALUE | KEY_WOW64_64KEY, key.put()) != ERROR_SUCCESS)
    return value;
  DWORD type = 0, size = 0;
  if (::RegQueryValueExA(key.get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
    return value;
  std::vector<unsigned char> data(size + 1);
  if (::RegQueryValueExA(key.get(), name.c_str(), nullptr, &type, data.data(), &size) !=
          ERROR_SUCCESS ||
      size > data.size())
    return value;
  if (type == REG_DWORD && size == sizeof(DWORD)) {
    value.kind = PolicyValue::Kind::Number;
    value.number = static_cast<uint32_t>(data[0]) | static_cast<uint32_t>(data[1]) << 8 |
                   static_cast<uint32_t>(data[2]) << 16 | static_cast<uint32_t>(data[3]) << 24;
  } else if (type == REG_SZ) {
    value.kind = PolicyValue::Kind::Text;
    value.text = RegistryDataToText(data.data(), size);
  } else {
    value.kind = PolicyValue::Kind::Other;  // a REG_BINARY, a DWORD of the wrong size, ...
  }
  return value;
}
