// Broken installer downloads against the fault-injecting test server: resumed with Range
// and If-Range where the first answer allows it, started again when the file changed or
// the server ignores ranges, given up after three resumes; a stall counts as a break. The
// stall limit and the pauses are shortened for these tests through the transfer's policy.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "tests/transfer/transfer_test_fixture_win.h"
#include "transfer/http_get_file_win.h"

namespace {

constexpr int kSize = 100000;
// A reset may lose bytes in flight, and a read held by a stall what it had buffered.
constexpr const char* kAnyOffset = "";

struct ResumeCase {
  const char* shows;
  std::string query;  // after /bytes/100000?
  int outcome;
  std::string content;  // the file afterwards
  size_t requests;
  const char* resumedAt;  // Range of the second request ("bytes=N-"), kAnyOffset, or null
  const char* ifRange;    // its If-Range, or null for any
  int starts;             // start messages: 2 after a restart from byte 0
};

std::vector<ResumeCase> ResumeCases() {
  const std::string body = test_http::GeneratedBody(kSize);
  const char* date = "Sat, 01 Jan 2022 00:00:00 GMT";
  return {
      {"cut at 30 %, resumed with the ETag", "cut=30000&faults=1&ranges&etag=v", 1, body, 2,
       "bytes=30000-", "\"v\"", 1},
      {"cut at 60 %, resumed with the date", "cut=60000&faults=1&ranges&lastmod", 1, body, 2,
       "bytes=60000-", date, 1},
      // Trickled, so that the bytes before the reset are read before it discards them.
      {"reset at 90 %, resumed", "reset=90000&rate=300000&faults=1&ranges&etag=v", 1, body, 2,
       kAnyOffset, "\"v\"", 1},
      {"stalled at 50 %, resumed", "stall=50000&faults=1&ranges&etag=v", 1, body, 2, kAnyOffset,
       "\"v\"", 1},
      {"cut twice, resumed twice", "cut=20000&faults=2&ranges&etag=v", 1, body, 3, "bytes=20000-",
       "\"v\"", 1},
      {"every answer cut: three resumes, then failure", "cut=10000&ranges&etag=v", 0,
       body.substr(0, 40000), 4, "bytes=10000-", "\"v\"", 1},
      {"changed file: started again from byte 0", "cut=30000&faults=1&ranges&etag=v&changing", 1,
       test_http::GeneratedBody(kSize, 1), 2, "bytes=30000-", "\"v-0\"", 2},
      {"server ignoring Range: started again from byte 0",
       "cut=30000&faults=1&ranges=ignore&etag=v", 1, body, 2, "bytes=30000-", "\"v\"", 2},
      {"no Accept-Ranges: not resumed", "cut=30000&faults=1&etag=v", 0, body.substr(0, 30000), 1,
       nullptr, nullptr, 1},
      {"no validator: not resumed", "cut=30000&faults=1&ranges", 0, body.substr(0, 30000), 1,
       nullptr, nullptr, 1},
  };
}

class HttpGetFileResume : public TransferTest {
 protected:
  int StartFileTransfer(const std::string& url, const std::string& path) {
    return StartTransferIntoFile(url, path, ShortTimesPolicy());
  }
};

TEST_F(HttpGetFileResume, BrokenDownloadsAreResumedOrStartedAgain) {
  for (const ResumeCase& row : ResumeCases()) {
    SCOPED_TRACE(row.shows);
    const std::string token = test_http::UniqueToken("resume");
    const std::string path = TargetPath("resume");
    const int id =
        StartFileTransfer(test_http::Url("/bytes/100000?" + row.query + "&token=" + token), path);
    ASSERT_TRUE(recorder.WaitForCompletion(id));
    const std::vector<TransferEvent> events = recorder.EventsOf(id);
    EXPECT_EQ(row.outcome, events.back().value);
    EXPECT_EQ(row.starts, CountOf(events, TransferEventKind::Start));

    // The bar never goes back, except when the file starts again from byte 0.
    const std::vector<int> totals = ProgressTotals(events);
    int falls = 0;
    for (size_t i = 1; i < totals.size(); ++i) falls += totals[i] < totals[i - 1];
    EXPECT_LE(falls, row.starts - 1);
    ASSERT_FALSE(totals.empty());
    EXPECT_EQ(static_cast<int>(row.content.size()), totals.back()) << "the final count comes last";

    std::string content;
    ASSERT_TRUE(ReadWholeFile(path, content));
    EXPECT_TRUE(content == row.content) << "file holds " << content.size() << " bytes";

    const std::vector<test_http::RecordedRequest> requests = test_http::RecordedRequests(token);
    ASSERT_EQ(row.requests, requests.size());
    EXPECT_FALSE(requests[0].HasHeader("Range"));
    if (row.resumedAt) {
      const std::string range = requests[1].Header("Range");
      if (*row.resumedAt) {
        EXPECT_EQ(row.resumedAt, range);
      }
      EXPECT_EQ(0u, range.find("bytes=")) << range;
      if (row.ifRange) {
        EXPECT_EQ(row.ifRange, requests[1].Header("If-Range"));
      }
      EXPECT_EQ("ZuLauncher", requests[1].Header("User-Agent"));
    }
  }
}

TEST_F(HttpGetFileResume, ResumesAskForWhatTheFileHoldsEachTime) {
  const std::string token = test_http::UniqueToken("resume-offsets");
  const int id =
      StartFileTransfer(test_http::Url("/bytes/100000?cut=10000&ranges&etag=v&token=" + token),
                        TargetPath("resume-offsets"));
  ASSERT_TRUE(recorder.WaitForCompletion(id));
  std::vector<std::string> ranges;
  for (const auto& request : test_http::RecordedRequests(token)) {
    ranges.push_back(request.Header("Range"));
  }
  EXPECT_EQ((std::vector<std::string>{"", "bytes=10000-", "bytes=20000-", "bytes=30000-"}), ranges);
}

TEST_F(HttpGetFileResume, StallWithoutResumeFailsAfterTheStallLimit) {
  const std::string path = TargetPath("stall");
  const DWORD started = ::GetTickCount();
  const int id = StartFileTransfer(test_http::Url("/bytes/100000?stall=20000"), path);
  ASSERT_TRUE(recorder.WaitForCompletion(id, 10000));
  const DWORD elapsed = ::GetTickCount() - started;
  EXPECT_EQ(0, recorder.EventsOf(id).back().value);
  EXPECT_GE(elapsed, 1000u) << "not before the (shortened) stall limit";
  EXPECT_LT(elapsed, 3000u);
}

}  // namespace
