// Only web addresses are fetched, and redirects never step down from https:// to http://.
#include "transfer/web_address.h"

#include <gtest/gtest.h>

namespace {

TEST(WebAddress, OnlyHttpAndHttpsInAnyCaseAreWebAddresses) {
  struct Row {
    const char* url;
    bool web;
    bool secure;
  };
  const Row rows[] = {
      {"http://example.com/version.ini", true, false},
      {"https://example.com/version.ini", true, true},
      {"HTTPS://EXAMPLE.COM/", true, true},  // the scheme's case does not matter
      {"hTtP://example.com/", true, false},
      {"http://", true, false},  // the engine finds out that there is no host
      {"file:///C:/setup.exe", false, false},
      {"file://server/share/setup.exe", false, false},
      {"ftp://example.com/setup.exe", false, false},
      {"example.com/version.ini", false, false},  // no scheme
      {"//example.com/version.ini", false, false},
      {"C:\\setup.exe", false, false},
      {" http://example.com/", false, false},  // leading blank: not the scheme
      {"http:/example.com/", false, false},
      {"https:example.com", false, false},
      {"httpx://example.com/", false, false},
      {"", false, false},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(row.web, IsWebAddress(row.url)) << row.url;
    EXPECT_EQ(row.secure, IsSecureWebAddress(row.url)) << row.url;
  }
}

TEST(WebAddress, RedirectsNeverLeaveTheWebOrStepDownAndStopAfterTenHops) {
  struct Row {
    const char* what;
    const char* from;
    const char* to;
    int hopsFollowed;
    RedirectVerdict verdict;
  };
  const Row rows[] = {
      {"http to http", "http://a/x", "http://b/y", 0, RedirectVerdict::Follow},
      {"http to https", "http://a/x", "https://a/x", 0, RedirectVerdict::Follow},
      {"https to https", "https://a/x", "https://b/y", 0, RedirectVerdict::Follow},
      {"https to http", "https://a/x", "http://a/x", 0, RedirectVerdict::Downgrade},
      {"https to HTTP in capitals", "HTTPS://a/x", "HTTP://a/x", 0, RedirectVerdict::Downgrade},
      {"to file:", "http://a/x", "file:///C:/x.exe", 0, RedirectVerdict::NotAWebAddress},
      {"to ftp:", "https://a/x", "ftp://a/x", 0, RedirectVerdict::NotAWebAddress},
      {"the tenth hop", "http://a/x", "http://a/y", 9, RedirectVerdict::Follow},
      {"the eleventh hop", "http://a/x", "http://a/y", 10, RedirectVerdict::TooManyHops},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(row.verdict, JudgeRedirect(row.from, row.to, row.hopsFollowed)) << row.what;
  }
}

}  // namespace
