// Tests' side of tools/fake_installer: writing its settings INI beside a copy (or, for the
// launcher's download into a private folder, in the current directory the launcher passes on),
// and reading back the record it leaves. Header-only.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "common/sha256_win.h"
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

// "<current directory>\<exeName>": a copy named `exeName` that has no settings beside it reads
// SettingsPathFor of this.
inline std::string InCurrentDirectory(const std::string& exeName) {
  char directory[MAX_PATH] = {};
  ::GetCurrentDirectoryA(sizeof directory, directory);
  return std::string(directory) + "\\" + exeName;
}

inline bool WriteSettings(const std::string& exePath, const Settings& settings) {
  std::string text = "[FAKE_INSTALLER]\r\n";
  for (const auto& setting : settings) text += setting.first + "=" + setting.second + "\r\n";
  return WriteWholeFile(SettingsPathFor(exePath), text);
}

// DOWN_SIZE and DOWN_SHA256 (lower case) that describe the file at `path` in a version file.
struct DownKeys {
  std::string size, sha256;
};
inline DownKeys DownKeysOf(const std::string& path) {
  const std::string bytes = ReadWholeFile(path);
  Sha256Digest digest{};
  HashBytesSha256(bytes, digest);
  return {std::to_string(bytes.size()), FormatSha256Hex(digest)};
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
