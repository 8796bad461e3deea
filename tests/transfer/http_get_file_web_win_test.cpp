// The engine on the real web's terms, against the loopback TLS listeners and forward proxy:
// certificates are checked and never ignored, redirects are followed up to ten hops but never
// from https:// down to http:// nor out of the web, and the system proxy settings are used.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/system_proxy_win.h"
#include "tests/transfer/transfer_test_fixture_win.h"

namespace {

using test_http::Certificate;

class HttpGetFileWeb : public TransferTest {
 protected:
  void SetUp() override {
    TransferTest::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_TRUE(test_http::HttpsRunning());
  }

  // A synchronous memory-mode fetch, as a caller without a window makes it; true on success.
  static bool Get(const std::string& url, std::string& body) {
    char* buffer = nullptr;
    int length = 0;
    const int outcome = HttpGetFile(url.c_str(), nullptr, nullptr, nullptr, 1, kTestAgent, -1, 0,
                                    &buffer, &length, 0, nullptr, nullptr);
    body.assign(buffer ? buffer : "", buffer ? length : 0);
    HttpGetFileFreeBuffer(buffer);
    return outcome == 1;
  }
};

TEST_F(HttpGetFileWeb, ACertificateTheTestCaSignedForLocalhostServesTheBody) {
  std::string body;
  ASSERT_TRUE(Get(test_http::HttpsUrl("/bytes/30000"), body));
  EXPECT_EQ(test_http::GeneratedBody(30000), body);
}

TEST_F(HttpGetFileWeb, RefusedCertificatesFailTheTransferBeforeAnyRequest) {
  struct Row {
    const char* what;
    Certificate certificate;
  };
  const Row rows[] = {
      {"issued for another name", Certificate::WrongName},
      {"expired", Certificate::Expired},
      {"self-signed", Certificate::SelfSigned},
      {"signed by an unknown CA", Certificate::UnknownCa},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    const std::string token = test_http::UniqueToken("certificate");
    std::string body;
    EXPECT_FALSE(Get(test_http::HttpsUrl("/bytes/100?token=" + token, row.certificate), body));
    EXPECT_TRUE(body.empty());
    EXPECT_TRUE(test_http::RecordedRequests(token).empty()) << "no request got through";
  }
}

TEST_F(HttpGetFileWeb, RedirectsAreFollowedUpToTenHopsButNeverDownToHttpOrOutOfTheWeb) {
  struct Row {
    const char* what;
    std::string (*url)(const std::string& finalTarget);  // the first address, leading on
    bool secureTarget;                                   // the final target is on the TLS listener
    bool succeeds;
    size_t requestsWithToken;  // hops and the final target carry the token
  };
  const Row rows[] = {
      {"http to http, relative Location",
       [](const std::string& t) { return test_http::Url("/redirect/1" + t); }, false, true, 2},
      {"http to https",
       [](const std::string& t) {
         return test_http::Url("/text/moved?location=" + test_http::HttpsUrl(t));
       },
       true, true, 1},
      {"https to https, three hops",
       [](const std::string& t) { return test_http::HttpsUrl("/redirect/3" + t); }, true, true, 4},
      {"https to http refused",
       [](const std::string& t) {
         return test_http::HttpsUrl("/text/moved?location=" + test_http::Url(t));
       },
       false, false, 0},
      {"ten hops followed", [](const std::string& t) { return test_http::Url("/redirect/10" + t); },
       false, true, 11},
      {"an eleventh hop refused",
       [](const std::string& t) { return test_http::Url("/redirect/11" + t); }, false, false, 11},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    const std::string token = test_http::UniqueToken("redirect");
    const std::string target = "/bytes/5000?token=" + token;
    std::string body;
    EXPECT_EQ(row.succeeds, Get(row.url(target), body));
    EXPECT_EQ(row.succeeds ? test_http::GeneratedBody(5000) : "", body);
    const auto requests = test_http::RecordedRequests(token);
    EXPECT_EQ(row.requestsWithToken, requests.size());
    const bool targetFetched = !requests.empty() && requests.back().target == target;
    EXPECT_EQ(row.succeeds, targetFetched) << "the final target was requested";
  }
}

TEST_F(HttpGetFileWeb, ARedirectOutOfTheWebIsRefused) {
  for (const char* location : {"file:///C:/windows/win.ini", "ftp://127.0.0.1/setup.exe"}) {
    SCOPED_TRACE(location);
    std::string body;
    EXPECT_FALSE(Get(test_http::Url(std::string("/text/moved?location=") + location), body));
    EXPECT_TRUE(body.empty());
  }
}

TEST_F(HttpGetFileWeb, TheSystemProxyCarriesHttpAndHttpsAndItsBypassListIsHonoured) {
  ASSERT_TRUE(test_http::ProxyRunning());
  const std::string httpsPort =
      test_http::HttpsUrl("").substr(std::string("https://localhost:").size());
  struct Row {
    const char* what;
    bool secure;
    const char* bypass;
    bool throughProxy;
  };
  const Row rows[] = {
      {"http", false, "", true},
      {"https, tunnelled", true, "", true},
      {"http to a bypassed host", false, "127.0.0.1", false},
      {"https to a bypassed host", true, "localhost", false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    const std::string token = test_http::UniqueToken("proxy");
    const std::string url = row.secure ? test_http::HttpsUrl("/bytes/3000?token=" + token)
                                       : test_http::Url("/bytes/3000?token=" + token);
    const size_t before = test_http::ProxiedRequests().size();
    std::string body;
    {
      test_http::SystemProxyScope proxy(test_http::ProxyAddress(), row.bypass);
      ASSERT_TRUE(proxy.Applied());
      EXPECT_TRUE(Get(url, body));
    }
    EXPECT_EQ(test_http::GeneratedBody(3000), body);
    EXPECT_EQ(1u, test_http::RecordedRequests(token).size()) << "reached the server once";
    const std::vector<std::string> proxied = test_http::ProxiedRequests();
    const std::vector<std::string> added(proxied.begin() + before, proxied.end());
    const std::string expected =
        row.secure ? "CONNECT localhost:" + httpsPort + " HTTP/1.1" : "GET " + url + " HTTP/1.1";
    EXPECT_EQ(row.throughProxy ? std::vector<std::string>{expected} : std::vector<std::string>{},
              added);
  }
  // The settings are put back: the next transfer goes straight to the server again.
  const size_t before = test_http::ProxiedRequests().size();
  std::string body;
  EXPECT_TRUE(Get(test_http::Url("/bytes/10"), body));
  EXPECT_EQ(before, test_http::ProxiedRequests().size());
}

}  // namespace
