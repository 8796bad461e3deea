// Tests' side of tools/fake_installer: writing its settings INI beside a downloaded copy,
// and reading back the record it leaves. Header-only.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/scratch_win.h"

namespace fake_installer {

using Settings = std::vector<std::pair<std::string, std::string>>;
using Record = std::map<std::string, std::string>;

inline bool FileExists(const std::string& path) {
  DWORD attributes = ::GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// "C:\dir\name.exe" -> "C:\dir\name.ini": the settings file the copy at `exePath` reads.
inline std::string SettingsPathFor(const std::string& exePath) {
  return exePath.substr(0, exePath.rfind('.')) + ".ini";
}

inline bool WriteSettings(const std::string& exePath, const Settings& settings) {
  std::string text = "[FAKE_INSTALLER]\r\n";
  for (const auto& setting : settings) text += setting.first + "=" + setting.second + "\r\n";
  return WriteWholeFile(SettingsPathFor(exePath), text);
}

// The record as KEY -> value; values are taken byte for byte up to the CRLF.
inline Record ReadRecord(const std::string& path) {
  Record record;
  const std::string text = ReadWholeFile(path);
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find("\r\n", start);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(start, end - start);
    const size_t equals = line.find('=');
    if (equals != std::string::npos) record[line.substr(0, equals)] = line.substr(equals + 1);
    start = end + 2;
  }
  return record;
}

}  // namespace fake_installer
