// The bounded version-file download against the test server: the size cap (announced or
// counted), the deadline (shortened here to 1.5 s) whatever the server does, and no resume.
#include "versionfile/version_file_download_win.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "tests/transfer/transfer_test_fixture_win.h"

namespace {

constexpr DWORD kShortDeadlineMs = 1500;

// The version file's own policy with the deadline shortened.
TransferPolicy ShortDeadline() {
  TransferPolicy policy = VersionFileTransferPolicy();
  policy.deadlineMs = kShortDeadlineMs;
  return policy;
}

using VersionFileDownload = TransferTest;

struct Row {
  const char* shows;
  std::string pathAndQuery;
  bool accepted;
  size_t requests;
};
const std::vector<Row>& Rows() {
  static const std::vector<Row> rows = {
      {"1,000,000 bytes: the cap itself", "/bytes/1000000", true, 1},
      {"1,000,001 bytes announced", "/bytes/1000001", false, 1},
      {"1,000,001 bytes without a length", "/bytes/1000001?length=none", false, 1},
      {"an endless body", "/bytes/5000?endless", false, 1},
      {"a trickle that would take minutes", "/bytes/5000?rate=20", false, 1},
      {"headers held back past the deadline", "/bytes/500?delay=5000", false, 1},
      {"stalled after some bytes", "/bytes/5000?stall=1000", false, 1},
      {"cut short though ranges are offered: not resumed",
       "/bytes/5000?cut=1000&faults=1&ranges&etag=v", false, 1},
  };
  return rows;
}

std::string UrlOf(const Row& row, const std::string& token) {
  const std::string separator = row.pathAndQuery.find('?') == std::string::npos ? "?" : "&";
  return test_http::Url(row.pathAndQuery + separator + "token=" + token);
}

// The whole body or nothing, and `body` untouched on failure.
TEST_F(VersionFileDownload, AcceptsUpToTheCapAndEndsByTheDeadline) {
  for (const Row& row : Rows()) {
    SCOPED_TRACE(row.shows);
    const std::string token = test_http::UniqueToken("version-bytes");
    std::string body = "as it was";
    const DWORD started = ::GetTickCount();
    const bool accepted =
        DownloadVersionFileBytes(UrlOf(row, token), kTestAgent, body, ShortDeadline());
    const DWORD elapsed = ::GetTickCount() - started;
    EXPECT_EQ(row.accepted, accepted);
    EXPECT_LT(elapsed, kShortDeadlineMs + 1000) << "ended by the deadline";
    EXPECT_EQ(row.requests, test_http::RecordedRequests(token).size());
    EXPECT_TRUE(row.accepted ? body == test_http::GeneratedBody(1000000) : body == "as it was");
  }
  std::string body = "as it was";
  EXPECT_TRUE(
      DownloadVersionFileBytes(test_http::Url("/bytes/0"), kTestAgent, body, ShortDeadline()));
  EXPECT_EQ("", body) << "an empty body is an empty text";
}

}  // namespace
