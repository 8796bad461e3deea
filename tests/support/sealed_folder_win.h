// A folder that refuses every new file and every change, to the tests' own user too (root):
// the launcher's folder as a standard user meets a per-machine install. The loopback test
// server seals it (tests/support/http_test_seal.py: `chattr +i`, else a read-only bind mount)
// for the life of the object and opens it again when the object goes, when the test fails
// included; the server opens whatever is left at its end, and wine_run.sh after it.
// Subfolders are not sealed by `chattr` (they are by a bind mount). Header-only.
#pragma once

#include <windows.h>

#include <cctype>
#include <string>

#include "common/format.h"
#include "tests/support/test_http_server_win.h"

class SealedFolder {
 public:
  explicit SealedFolder(const std::string& folder) : m_unixPath(UnixPathOf(folder)) {
    if (m_unixPath.empty()) {
      m_detail = "no Unix path for " + folder + " (not under Wine?)";
      return;
    }
    std::string answer;
    if (!test_http::Fetch(test_http::Url("/_seal?path=" + Escaped(m_unixPath)), answer)) {
      m_detail = "the test server did not answer";
      return;
    }
    m_detail = answer.substr(0, answer.find('\n'));
    m_sealed = m_detail == "chattr" || m_detail == "bind";
  }
  ~SealedFolder() {
    std::string answer;
    if (m_sealed) test_http::Fetch(test_http::Url("/_unseal?path=" + Escaped(m_unixPath)), answer);
  }
  SealedFolder(const SealedFolder&) = delete;
  SealedFolder& operator=(const SealedFolder&) = delete;

  bool sealed() const { return m_sealed; }
  // How it was sealed ("chattr", "bind"), or why it could not be.
  const std::string& detail() const { return m_detail; }

 private:
  static std::string UnixPathOf(const std::string& folder) {
    using UnixFileName = char*(CDECL*)(const WCHAR*);
    const auto convert = reinterpret_cast<UnixFileName>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    if (!convert) return std::string();
    std::wstring wide(folder.size() + 1, L'\0');
    const int units = ::MultiByteToWideChar(CP_ACP, 0, folder.c_str(), -1, &wide[0],
                                            static_cast<int>(wide.size()));
    if (units <= 0) return std::string();
    char* unixName = convert(wide.c_str());
    if (!unixName) return std::string();
    std::string path = unixName;
    ::HeapFree(::GetProcessHeap(), 0, unixName);
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
  }
  static std::string Escaped(const std::string& text) {
    std::string escaped;
    for (unsigned char ch : text)
      escaped += std::isalnum(ch) || ch == '/' || ch == '_' || ch == '-' || ch == '.'
                     ? std::string(1, static_cast<char>(ch))
                     : Format("%%%02X", ch);
    return escaped;
  }

  std::string m_unixPath;
  std::string m_detail;
  bool m_sealed = false;
};
