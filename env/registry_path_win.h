// Reading one registry value named by a registry value path
// ("HKEY_CURRENT_USER\Software\Company\Product\InstallDir"). Read access only. Any thread.
#pragma once

#include <windows.h>

#include <string>

// Splits the path (first and last backslash, multibyte-aware) and reads the value; false
// when the path has no backslash. A path ending in a backslash names the default value.
bool ReadRegistryValue(const std::string& path, std::string& value);
// `rootName` is one of the predefined key names, matched case-sensitively; false otherwise.
bool OpenRootKeyValue(const std::string& rootName, const std::string& subkey,
                      const std::string& valueName, std::string& value);
// The value's data taken as text whatever its registry type, ending at its first zero byte
// or at the end of the data read. False when the key or the value is missing or the text is
// empty. `value` is written only on success.
bool ReadKeyValue(HKEY rootKey, const std::string& subkey, const std::string& valueName,
                  std::string& value);
