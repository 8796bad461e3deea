// Scratch places for the environment tests: a directory under the temporary directory and a
// registry key under HKEY_CURRENT_USER\Software\ZuLauncherTests, each with a name no other
// run uses, removed with everything in them when the test ends; and a guard that puts the
// current directory back.
#pragma once

#include <windows.h>

#include <atomic>
#include <string>

#include "common/format.h"
#include "common/unique_handle_win.h"

inline std::string UniqueScratchName(const char* prefix) {
  static std::atomic<unsigned> counter{0};
  return Format("%s_%lu_%lu_%u", prefix, ::GetCurrentProcessId(), ::GetTickCount(), ++counter);
}

inline void RemoveTree(const std::string& directory) {
  WIN32_FIND_DATAA entry;
  HANDLE search = ::FindFirstFileA((directory + "\\*").c_str(), &entry);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      std::string name = entry.cFileName;
      if (name == "." || name == "..") continue;
      std::string path = directory + "\\" + name;
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

class ScratchDirectory {
 public:
  ScratchDirectory() {
    char temp[MAX_PATH];
    DWORD length = ::GetTempPathA(MAX_PATH, temp);
    m_path = std::string(temp, length) + UniqueScratchName("zu_env");
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

  ScratchRegistryKey() : m_subkey(std::string(kParent) + "\\" + UniqueScratchName("env")) {
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

class CurrentDirectoryGuard {
 public:
  CurrentDirectoryGuard() {
    char buffer[MAX_PATH];
    DWORD length = ::GetCurrentDirectoryA(MAX_PATH, buffer);
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
