// Where the launcher keeps this install's id on Windows: the string value InstallId under
// HKEY_CURRENT_USER\Software\ZuLauncher, per user (each user of a machine is sampled apart,
// and a standard user can write it). Any thread.
#pragma once

#include <string>

// The value as text whatever its type; false when the key or the value is missing or empty.
bool ReadStoredInstallId(std::string& id);
// Creates the key when needed and writes the value as REG_SZ, replacing any other type.
bool StoreInstallId(const std::string& id);
