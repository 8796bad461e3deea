#include "tests/support/scratch_win.h"

#include <atomic>

#include "common/format.h"

std::string UniqueScratchName(const char* prefix) {
  static std::atomic<unsigned> counter{0};
  return Format("%s_%lu_%lu_%u", prefix, ::GetCurrentProcessId(), ::GetTickCount(), ++counter);
}

void RemoveTree(const std::string& directory) {
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

ScratchDirectory::ScratchDirectory(const char* prefix) {
  char temp[MAX_PATH];
  const DWORD length = ::GetTempPathA(MAX_PATH, temp);
  m_path = std::string(temp, length) + UniqueScratchName(prefix);
  m_created = ::CreateDirectoryA(m_path.c_str(), nullptr) != FALSE;
}

ScratchDirectory::~ScratchDirectory() {
  if (m_created) RemoveTree(m_path);
}

ScratchRegistryKey::ScratchRegistryKey(const char* prefix)
    : m_subkey(std::string(kParent) + "\\" + UniqueScratchName(prefix)) {
  m_created = ::RegCreateKeyExA(HKEY_CURRENT_USER, m_subkey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                nullptr, m_key.put(), nullptr) == ERROR_SUCCESS;
}

ScratchRegistryKey::~ScratchRegistryKey() {
  m_key.reset();
  if (!m_created) return;
  ::RegDeleteTreeA(HKEY_CURRENT_USER, m_subkey.c_str());
  ::RegDeleteKeyA(HKEY_CURRENT_USER, m_subkey.c_str());
  // Gone only when no other test still holds a key under it.
  ::RegDeleteKeyA(HKEY_CURRENT_USER, kParent);
}

std::string ScratchRegistryKey::ValuePath(const std::string& valueName) const {
  return "HKEY_CURRENT_USER\\" + m_subkey + "\\" + valueName;
}

bool ScratchRegistryKey::SetValue(const std::string& subkey, const std::string& name, DWORD type,
                                  const void* data, DWORD size) const {
  UniqueRegistryKey target;
  if (::RegCreateKeyExA(m_key.get(), subkey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        target.put(), nullptr) != ERROR_SUCCESS)
    return false;
  return ::RegSetValueExA(target.get(), name.c_str(), 0, type, static_cast<const BYTE*>(data),
                          size) == ERROR_SUCCESS;
}

bool ScratchRegistryKey::SetText(const std::string& subkey, const std::string& name,
                                 const std::string& text) const {
  return SetValue(subkey, name, REG_SZ, text.c_str(), static_cast<DWORD>(text.size() + 1));
}

CurrentDirectoryGuard::CurrentDirectoryGuard() {
  char buffer[MAX_PATH];
  const DWORD length = ::GetCurrentDirectoryA(MAX_PATH, buffer);
  m_saved.assign(buffer, length < MAX_PATH ? length : 0);
}

CurrentDirectoryGuard::~CurrentDirectoryGuard() {
  if (!m_saved.empty()) ::SetCurrentDirectoryA(m_saved.c_str());
}
