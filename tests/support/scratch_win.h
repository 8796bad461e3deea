// Test support: scratch places with a name no other run uses, removed with everything in them
// when the test ends: a directory under the temporary directory and a registry key under
// HKEY_CURRENT_USER\Software\ZuLauncherTests; a guard that puts the current directory back;
// whole files read and written in one call.
#pragma once

#include <windows.h>

#include <atomic>
#include <fstream>
#include <string>

#include "common/format.h"
#include "common/unique_handle_win.h"

// "<prefix>_<process>_<tick>_<counter>".
inline std::string UniqueScratchName(const char* prefix) {
  static std::atomic<unsigned> counter{0};
  return Format("%s_%lu_%lu_%u", prefix, ::GetCurrentProcessId(), ::GetTickCount(), ++counter);
}

// Deletes a directory with everything under it, read-only files included.
inline void RemoveTree(const std::string& directory) {
  WIN32_FIND_DATAA entry;
  HANDLE search = ::FindFirstFileA((directory + "\\*").c_str(), &entry);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = entry.cFileName;
      if (name == "." || name == "..") continue;
      const std::string path = directory + "\\" + name;
      if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(path);
      } else {
        ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        ::DeleteFileA(path.c_str());
      }
    } while (::FindNextFileA(search, &entry));
    ::FindClose(search);
  }
  ::RemoveDirectoryA(directory.c_str());
}

// Reads a whole file, also one that another handle is writing; false when it cannot be opened.
inline bool ReadWholeFile(const std::string& path, std::string& content) {
  content.clear();
  UniqueFileHandle file(::CreateFileA(path.c_str(), GENERIC_READ,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                     0, nullptr));
  if (!file) return false;
  char chunk[65536];
  DWORD read = 0;
  while (::ReadFile(file.get(), chunk, sizeof(chunk), &read, nullptr) && read > 0) {
    content.append(chunk, read);
  }
  return true;
}

// The file's bytes; "" when it cannot be read.
inline std::string ReadWholeFile(const std::string& path) {
  std::string content;
  ReadWholeFile(path, content);
  return content;
}

// Creates or replaces the file with exactly `content`.
inline bool WriteWholeFile(const std::string& path, const std::string& content) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file << content;
  return static_cast<bool>(file);
}

class ScratchDirectory {
 public:
  explicit ScratchDirectory(const char* prefix = "zu_test") {
    char temp[MAX_PATH];
    const DWORD length = ::GetTempPathA(MAX_PATH, temp);
    m_path = std::string(temp, length) + UniqueScratchName(prefix);
    m_created = ::CreateDirectoryA(m_path.c_str(), nullptr) != FALSE;
  }
  ~ScratchDirectory() {
    if (m_created) RemoveTree(m_path);
  }
  ScratchDirectory(const ScratchDirectory&) = delete;
  ScratchDirectory& operator=(const ScratchDirectory&) = delete;

  bool created() const { return m_created; }
  // Without a trailing backslash.
  const std::string& path() const { return m_path; }
  std::string operator/(const std::string& name) const { return m_path + "\\" + name; }

 private:
  std::string m_path;
  bool m_created = false;
};

class ScratchRegistryKey {
 public:
  static constexpr const char* kParent = "Software\\ZuLauncherTests";

  explicit ScratchRegistryKey(const char* prefix = "test")
      : m_subkey(std::string(kParent) + "\\" + UniqueScratchName(prefix)) {
    m_created = ::RegCreateKeyExA(HKEY_CURRENT_USER, m_subkey.c_str(), 0, nullptr, 0,
                                  KEY_ALL_ACCESS, nullptr, m_key.put(), nullptr) == ERROR_SUCCESS;
  }
  ~ScratchRegistryKey() {
    m_key.reset();
    if (!m_created) return;
    ::RegDeleteTreeA(HKEY_CURRENT_USER, m_subkey.c_str());
    ::RegDeleteKeyA(HKEY_CURRENT_USER, m_subkey.c_str());
    // Gone only when no other test still holds a key under it.
    ::RegDeleteKeyA(HKEY_CURRENT_USER, kParent);
  }
  ScratchRegistryKey(const ScratchRegistryKey&) = delete;
  ScratchRegistryKey& operator=(const ScratchRegistryKey&) = delete;

  bool created() const { return m_created; }
  HKEY key() const { return m_key.get(); }
  // Path below HKEY_CURRENT_USER, without leading or trailing backslash.
  const std::string& subkey() const { return m_subkey; }
  // "HKEY_CURRENT_USER\<subkey>\<valueName>", as a version file names a registry value.
  std::string ValuePath(const std::string& valueName) const {
    return "HKEY_CURRENT_USER\\" + m_subkey + "\\" + valueName;
  }

  // Creates `subkey` below the scratch key ("" for the key itself) and sets a value in it.
  bool SetValue(const std::string& subkey, const std::string& name, DWORD type, const void* data,
                DWORD size) const {
    UniqueRegistryKey target;
    if (::RegCreateKeyExA(m_key.get(), subkey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                          target.put(), nullptr) != ERROR_SUCCESS)
      return false;
    return ::RegSetValueExA(target.get(), name.c_str(), 0, type, static_cast<const BYTE*>(data),
                            size) == ERROR_SUCCESS;
  }
  bool SetText(const std::string& subkey, const std::string& name, const std::string& text) const {
    return SetValue(subkey, name, REG_SZ, text.c_str(), static_cast<DWORD>(text.size() + 1));
  }

 private:
  std::string m_subkey;
  UniqueRegistryKey m_key;
  bool m_created = false;
};

// A scratch key under HKEY_LOCAL_MACHINE\Software\ZuLauncherTests in one registry view (0,
// KEY_WOW64_64KEY or KEY_WOW64_32KEY), as an installer of that architecture records its
// program; removed with its contents.
class ScratchMachineKey {
 public:
  static constexpr const char* kParent = "Software\\ZuLauncherTests";

  ScratchMachineKey(const char* prefix, REGSAM view)
      : m_name(UniqueScratchName(prefix)), m_view(view) {
    m_created =
        ::RegCreateKeyExA(HKEY_LOCAL_MACHINE, subkey().c_str(), 0, nullptr, 0,
                          KEY_ALL_ACCESS | view, nullptr, m_key.put(), nullptr) == ERROR_SUCCESS;
  }
  ~ScratchMachineKey() {
    m_key.reset();
    if (!m_created) return;
    UniqueRegistryKey parent;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kParent, 0, KEY_ALL_ACCESS | m_view, parent.put()) !=
        ERROR_SUCCESS)
      return;
    ::RegDeleteTreeA(parent.get(), m_name.c_str());
    parent.reset();
    ::RegDeleteKeyExA(HKEY_LOCAL_MACHINE, kParent, m_view, 0);  // when no other test holds one
  }
  ScratchMachineKey(const ScratchMachineKey&) = delete;
  ScratchMachineKey& operator=(const ScratchMachineKey&) = delete;

  bool created() const { return m_created; }
  std::string subkey() const { return std::string(kParent) + "\\" + m_name; }
  // "HKEY_LOCAL_MACHINE\<subkey>\<valueName>", as a version file names a registry value.
  std::string ValuePath(const std::string& valueName) const {
    return "HKEY_LOCAL_MACHINE\\" + subkey() + "\\" + valueName;
  }
  bool SetValue(const std::string& name, DWORD type, const std::string& text) const {
    return ::RegSetValueExA(m_key.get(), name.c_str(), 0, type,
                            reinterpret_cast<const BYTE*>(text.c_str()),
                            static_cast<DWORD>(text.size() + 1)) == ERROR_SUCCESS;
  }

 private:
  std::string m_name;
  REGSAM m_view;
  UniqueRegistryKey m_key;
  bool m_created = false;
};

class CurrentDirectoryGuard {
 public:
  CurrentDirectoryGuard() {
    char buffer[MAX_PATH];
    const DWORD length = ::GetCurrentDirectoryA(MAX_PATH, buffer);
    m_saved.assign(buffer, length < MAX_PATH ? length : 0);
  }
  ~CurrentDirectoryGuard() {
    if (!m_saved.empty()) ::SetCurrentDirectoryA(m_saved.c_str());
  }
  CurrentDirectoryGuard(const CurrentDirectoryGuard&) = delete;
  CurrentDirectoryGuard& operator=(const CurrentDirectoryGuard&) = delete;

 private:
  std::string m_saved;
};
