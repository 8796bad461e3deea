// The system proxy settings of the test prefix (the current user's Internet Settings, which
// WinINet's pre-configured access reads), pointed at a proxy for the life of one object and
// put back as they were afterwards, so that tests outside its scope are unaffected.
// Header-only; one object at a time, on one thread.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace test_http {

class SystemProxyScope {
 public:
  // `bypass` is the ProxyOverride list ("" = none: every request goes through the proxy).
  SystemProxyScope(const std::string& server, const std::string& bypass) {
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr,
                          &m_key, nullptr) != ERROR_SUCCESS) {
      m_key = nullptr;
      return;
    }
    for (const char* name : kNames) m_saved.push_back(Save(name));
    const DWORD enable = 1;
    ::RegSetValueExA(m_key, "ProxyEnable", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&enable),
                     sizeof(enable));
    SetString("ProxyServer", server);
    if (bypass.empty()) {
      ::RegDeleteValueA(m_key, "ProxyOverride");
    } else {
      SetString("ProxyOverride", bypass);
    }
  }

  ~SystemProxyScope() {
    if (!m_key) return;
    for (const Saved& saved : m_saved) {
      if (saved.present) {
        ::RegSetValueExA(m_key, saved.name, 0, saved.type, saved.data.data(),
                         static_cast<DWORD>(saved.data.size()));
      } else {
        ::RegDeleteValueA(m_key, saved.name);
      }
    }
    ::RegCloseKey(m_key);
  }

  SystemProxyScope(const SystemProxyScope&) = delete;
  SystemProxyScope& operator=(const SystemProxyScope&) = delete;

  bool Applied() const { return m_key != nullptr; }

 private:
  static constexpr const char* kKey =
      "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
  static constexpr const char* kNames[] = {"ProxyEnable", "ProxyServer", "ProxyOverride"};

  struct Saved {
    const char* name;
    bool present = false;
    DWORD type = 0;
    std::vector<BYTE> data;
  };

  Saved Save(const char* name) const {
    Saved saved;
    saved.name = name;
    DWORD size = 0;
    if (::RegQueryValueExA(m_key, name, nullptr, &saved.type, nullptr, &size) != ERROR_SUCCESS)
      return saved;
    saved.data.resize(size);
    saved.present = ::RegQueryValueExA(m_key, name, nullptr, &saved.type, saved.data.data(),
                                       &size) == ERROR_SUCCESS;
    saved.data.resize(size);
    return saved;
  }

  void SetString(const char* name, const std::string& value) const {
    ::RegSetValueExA(m_key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                     static_cast<DWORD>(value.size() + 1));
  }

  HKEY m_key = nullptr;
  std::vector<Saved> m_saved;
};

}  // namespace test_http
