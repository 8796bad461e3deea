// Windows tests' side of the loopback test server (http_test_server.py, started by
// wine_run.sh): its addresses from the environment, the generated bodies it serves, the
// directory it serves files from, and the record of the requests it received.
// Header-only; any test thread may call it. The grammar of the URLs is in README.md here.
#pragma once

#include <windows.h>
#include <wininet.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "common/unique_handle_win.h"

namespace test_http {

inline std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

// A test that needs the server starts with ASSERT_TRUE(test_http::Running()): run without
// it (ZU_NO_TEST_HTTP_SERVER=1, or not through wine_run.sh), the test fails and says why.
inline ::testing::AssertionResult Running() {
  if (!Environment("ZU_TEST_HTTP_URL").empty()) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << "this test needs the loopback test server: ZU_TEST_HTTP_URL is not set (run the "
            "program through tests/support/wine_run.sh, without ZU_NO_TEST_HTTP_SERVER=1)";
}

// The server's URL for `pathAndQuery` ("/bytes/100?status=404").
inline std::string Url(const std::string& pathAndQuery) {
  return Environment("ZU_TEST_HTTP_URL") + pathAndQuery;
}

// A loopback URL whose connection is refused at once.
inline std::string RefusedUrl(const std::string& pathAndQuery = "/") {
  return Environment("ZU_TEST_HTTP_REFUSED_URL") + pathAndQuery;
}

// The TLS listeners (https://localhost:PORT), one per certificate, sharing the request record.
enum class Certificate { Trusted, WrongName, Expired, SelfSigned, UnknownCa };

// A test that needs the TLS listeners starts with ASSERT_TRUE(test_http::HttpsRunning()):
// without them, or without the test CA trusted in the prefix, it fails and says why.
inline ::testing::AssertionResult HttpsRunning() {
  if (!Environment("ZU_TEST_HTTPS_URL").empty()) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << "this test needs the TLS test listeners: ZU_TEST_HTTPS_URL is not set (wine_run.sh "
            "sets it once openssl has made the certificates and trust_test_ca.exe has made the "
            "prefix trust the test CA; see its messages in build/wine-stderr.log)";
}

inline std::string HttpsUrl(const std::string& pathAndQuery,
                            Certificate certificate = Certificate::Trusted) {
  static const char* const kVariables[] = {
      "ZU_TEST_HTTPS_URL", "ZU_TEST_HTTPS_WRONG_NAME_URL", "ZU_TEST_HTTPS_EXPIRED_URL",
      "ZU_TEST_HTTPS_SELF_SIGNED_URL", "ZU_TEST_HTTPS_UNKNOWN_CA_URL"};
  return Environment(kVariables[static_cast<int>(certificate)]) + pathAndQuery;
}

// "127.0.0.1:PORT" of the loopback forward proxy, or "" without one.
inline std::string ProxyAddress() { return Environment("ZU_TEST_HTTP_PROXY"); }

inline ::testing::AssertionResult ProxyRunning() {
  if (!ProxyAddress().empty()) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << "this test needs the test proxy: ZU_TEST_HTTP_PROXY is not set (run the program "
            "through tests/support/wine_run.sh)";
}

// Windows path (Wine maps / to Z:) of the directory served under /files/, with a trailing
// backslash. Files written there are served at Url("/files/NAME").
inline std::string RootDirectory() {
  std::string path = "Z:" + Environment("ZU_TEST_HTTP_ROOT") + "/";
  for (char& ch : path) {
    if (ch == '/') ch = '\\';
  }
  return path;
}

// The body the server generates for /bytes/N: byte i is i mod 251 ((i + version) mod 251
// for version K of a `changing` body).
inline std::string GeneratedBody(size_t size, size_t version = 0) {
  std::string body(size, '\0');
  for (size_t i = 0; i < size; ++i) body[i] = static_cast<char>((i + version) % 251);
  return body;
}

// A token that no other request of this process carries, for ?token= and the record.
inline std::string UniqueToken(const char* prefix) {
  static LONG counter = 0;
  return std::string(prefix) + "-" + std::to_string(::GetCurrentProcessId()) + "-" +
         std::to_string(::InterlockedIncrement(&counter));
}

// Fetches a URL of the server with plain WinINet (no cache); false on any failure.
inline bool Fetch(const std::string& url, std::string& body) {
  body.clear();
  UniqueInternetHandle session(
      ::InternetOpenA("test-helper", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0));
  if (!session) return false;
  UniqueInternetHandle request(::InternetOpenUrlA(
      session.get(), url.c_str(), nullptr, 0,
      INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_NO_UI, 0));
  if (!request) return false;
  char chunk[65536];
  DWORD read = 0;
  for (;;) {
    if (!::InternetReadFile(request.get(), chunk, sizeof(chunk), &read)) return false;
    if (read == 0) return true;
    body.append(chunk, read);
  }
}

struct RecordedRequest {
  std::string method;
  std::string target;  // path and query as received, percent-escapes decoded in the path
  std::vector<std::pair<std::string, std::string>> headers;  // in the order sent

  // The value of the first header of that name (case-insensitive), or "" when absent.
  std::string Header(const char* name) const {
    for (const auto& header : headers) {
      if (::lstrcmpiA(header.first.c_str(), name) == 0) return header.second;
    }
    return "";
  }
  bool HasHeader(const char* name) const {
    for (const auto& header : headers) {
      if (::lstrcmpiA(header.first.c_str(), name) == 0) return true;
    }
    return false;
  }
};

// The request lines the proxy has relayed so far, oldest first ("GET http://...",
// "CONNECT localhost:PORT", each followed by " HTTP/1.1").
inline std::vector<std::string> ProxiedRequests() {
  std::vector<std::string> lines;
  std::string text;
  if (!Fetch("http://" + ProxyAddress() + "/_proxied", text)) return lines;
  for (size_t start = 0, end; (end = text.find("\r\n", start)) != std::string::npos;
       start = end + 2) {
    lines.push_back(text.substr(start, end - start));
  }
  return lines;
}

// The requests that carried ?token=`token`, oldest first ("" = every request).
inline std::vector<RecordedRequest> RecordedRequests(const std::string& token) {
  std::vector<RecordedRequest> requests;
  std::string text;
  std::string url = Url("/_requests?format=lines");
  if (!token.empty()) url += "&token=" + token;
  if (!Fetch(url, text)) return requests;
  RecordedRequest current;
  bool inRequest = false;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find("\r\n", start);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(start, end - start);
    start = end + 2;
    if (line.empty()) {
      if (inRequest) requests.push_back(current);
      current = RecordedRequest();
      inRequest = false;
    } else if (!inRequest) {
      const size_t space = line.find(' ');
      current.method = line.substr(0, space);
      current.target = space == std::string::npos ? "" : line.substr(space + 1);
      inRequest = true;
    } else {
      const size_t colon = line.find(": ");
      if (colon != std::string::npos) {
        current.headers.emplace_back(line.substr(0, colon), line.substr(colon + 2));
      }
    }
  }
  return requests;
}

}  // namespace test_http
