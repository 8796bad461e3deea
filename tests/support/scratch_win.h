// Test support: scratch places with a name no other run uses, removed with everything in them
// when the test ends: a directory under the temporary directory and a registry key under
// HKEY_CURRENT_USER\Software\ZuLauncherTests; and a guard that puts the current directory back.
#pragma once

#include <windows.h>

#include <string>

#include "common/unique_handle_win.h"

// "<prefix>_<process>_<tick>_<counter>".
std::string UniqueScratchName(const char* prefix);

// Deletes a directory with everything under it (read-only files included).
void RemoveTree(const std::string& directory);

class ScratchDirectory {
 public:
  explicit ScratchDirectory(const char* prefix = "zu_test");
  ~ScratchDirectory();
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

  explicit ScratchRegistryKey(const char* prefix = "test");
  ~ScratchRegistryKey();
  ScratchRegistryKey(const ScratchRegistryKey&) = delete;
  ScratchRegistryKey& operator=(const ScratchRegistryKey&) = delete;

  bool created() const { return m_created; }
  HKEY key() const { return m_key.get(); }
  // Path below HKEY_CURRENT_USER, without leading or trailing backslash.
  const std::string& subkey() const { return m_subkey; }
  // "HKEY_CURRENT_USER\<subkey>\<valueName>", as a version file names a registry value.
  std::string ValuePath(const std::string& valueName) const;

  // Creates `subkey` below the scratch key ("" for the key itself) and sets a value in it.
  bool SetValue(const std::string& subkey, const std::string& name, DWORD type, const void* data,
                DWORD size) const;
  bool SetText(const std::string& subkey, const std::string& name, const std::string& text) const;

 private:
  std::string m_subkey;
  UniqueRegistryKey m_key;
  bool m_created = false;
};

class CurrentDirectoryGuard {
 public:
  CurrentDirectoryGuard();
  ~CurrentDirectoryGuard();
  CurrentDirectoryGuard(const CurrentDirectoryGuard&) = delete;
  CurrentDirectoryGuard& operator=(const CurrentDirectoryGuard&) = delete;

 private:
  std::string m_saved;
};
