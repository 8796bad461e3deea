// Reading one registry value named by a registry value path
// ("HKEY_CURRENT_USER\Software\Company\Product\InstallDir"). Read access only. Any thread.
#pragma once

#include <windows.h>

#include <string>

#include "env/registry_path.h"

// Splits the path (first and last backslash, multibyte-aware) and reads the value; false
// when the path has no backslash. A path ending in a backslash names the default value.
// `answered`, when given, receives the view the value was found in (see RegistryViewsToRead).
bool ReadRegistryValue(const std::string& path, std::string& value,
                       RegistryView* answered = nullptr);
// `rootName` is one of the predefined key names, matched case-sensitively; false otherwise.
// Looks in the program's own view first, then, where the other architecture's programs have
// a view of their own, in theirs.
bool OpenRootKeyValue(const std::string& rootName, const std::string& subkey,
                      const std::string& valueName, std::string& value,
                      RegistryView* answered = nullptr);
// The value's data taken as text whatever its registry type, ending at its first zero byte
// or at the end of the data read; a REG_EXPAND_SZ value with the environment variables it
// names expanded from the program's environment. False when the key or the value is missing
// or the text is empty. `value` is written only on success. `view` is 0, KEY_WOW64_64KEY or
// KEY_WOW64_32KEY.
bool ReadKeyValue(HKEY rootKey, const std::string& subkey, const std::string& valueName,
                  std::string& value, REGSAM view = 0);

// The flag that opens a key in `view`.
REGSAM RegistryViewFlag(RegistryView view);
// Which architecture's view this program reads when it passes no flag.
constexpr bool kProgramIs64Bit = sizeof(void*) == 8;
