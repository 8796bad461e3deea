// Single-key access to INI files by name through the platform's private-profile functions,
// without holding the file open. Relative names are anchored at the module directory (see
// env/ini_path.h). Section and key names match without regard to letter case. Any thread.
#pragma once

#include <string>

// Module directory in front of a relative path; drive-qualified and network paths unchanged.
std::string ResolveIniPath(std::string path);

// Reads at most 9998 characters: a longer value is cut. `defaultValue` when the file, the
// section or the key is missing.
std::string ReadIniString(const std::string& section, const std::string& key, std::string path,
                          const std::string& defaultValue);
// True when the file has a section of that name (letter case aside), with keys or without.
bool HasIniSection(const std::string& section, std::string path);
// Creates the file, the section and the key as needed; false when the write failed.
bool WriteIniString(const std::string& section, const std::string& key, const std::string& value,
                    std::string path);
// The key read as a signed decimal integer, `defaultValue` when it is missing.
int ReadIniInt(const std::string& section, const std::string& key, int defaultValue,
               std::string path);
// Writes the decimal text of `value` (with a minus sign when negative).
bool WriteIniInt(const std::string& section, const std::string& key, int value, std::string path);
