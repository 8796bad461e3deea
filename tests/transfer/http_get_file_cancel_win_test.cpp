// Stopping transfers: all of them, one by id, an id that is not running, none at all, and a
// transfer that is still waiting for its response. Slow bodies come from the server's
// trickle (?rate=bytes per second), so the transfers are surely running when asked to stop.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/transfer/transfer_test_fixture_win.h"
#include "transfer/http_get_file_win.h"

namespace {

// 200000 bytes at 40000 bytes per second: about five seconds, a chunk every quarter second.
const char* const kSlowBody = "/bytes/200000?rate=40000";

class TransferCancel : public TransferTest {
 protected:
  // Starts a slow transfer and waits until its first chunk has arrived.
  int StartSlow(const std::string& path, const char* pathAndQuery = kSlowBody) {
    const int id = StartFileTransfer(test_http::Url(pathAndQuery), path);
    EXPECT_TRUE(recorder.WaitForProgress(id, 1, 10000));
    return id;
  }

  // Calls HttpGetFileCancel and measures how long it blocked. With the performance counter:
  // Wine's tick count moves in steps, so a 100 ms wait could read as 86 ms.
  int TimedCancel(int jobId, DWORD& elapsedMs) {
    LARGE_INTEGER frequency, started, ended;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&started);
    const int result = HttpGetFileCancel(jobId);
    ::QueryPerformanceCounter(&ended);
    elapsedMs = static_cast<DWORD>((ended.QuadPart - started.QuadPart) * 1000 / frequency.QuadPart);
    return result;
  }
};

TEST_F(TransferCancel, AllTransfersStop) {
  const std::string firstPath = TargetPath("cancel-all-1");
  const std::string secondPath = TargetPath("cancel-all-2");
  const int first = StartSlow(firstPath);
  const int second = StartSlow(secondPath);
  DWORD elapsed = 0;
  EXPECT_EQ(1, TimedCancel(-1, elapsed));
  EXPECT_LT(elapsed, 3000u) << "the transfers stop after their next chunk";

  for (int id : {first, second}) {
    ASSERT_TRUE(recorder.WaitForCompletion(id));
    const std::vector<TransferEvent> events = recorder.EventsOf(id);
    ExpectWellOrdered(events);
    EXPECT_EQ(0, events.back().value);
    EXPECT_LT(ProgressTotals(events).back(), 200000);
  }
  std::string content;
  ASSERT_TRUE(ReadWholeFile(firstPath, content));
  EXPECT_LT(content.size(), 200000u) << "a cancelled transfer leaves a partial file";
  EXPECT_EQ(test_http::GeneratedBody(content.size()), content);
}

TEST_F(TransferCancel, OneTransferByIdStopsAndTheOtherRunsOn) {
  const std::string stoppedPath = TargetPath("cancel-one-stopped");
  const std::string otherPath = TargetPath("cancel-one-other");
  const int stopped = StartSlow(stoppedPath);
  const int other = StartSlow(otherPath, "/bytes/60000?rate=40000");
  DWORD elapsed = 0;
  EXPECT_EQ(1, TimedCancel(stopped, elapsed));
  EXPECT_LT(elapsed, 1500u);

  ASSERT_TRUE(recorder.WaitForCompletion(stopped));
  EXPECT_EQ(0, recorder.EventsOf(stopped).back().value);
  ASSERT_TRUE(recorder.WaitForCompletion(other));
  EXPECT_EQ(1, recorder.EventsOf(other).back().value);
  std::string content;
  ASSERT_TRUE(ReadWholeFile(otherPath, content));
  EXPECT_EQ(test_http::GeneratedBody(60000), content);
}

TEST_F(TransferCancel, IdNotRunningGivesZeroAfterAboutASecondAndDisturbsNobody) {
  const std::string path = TargetPath("cancel-other-id");
  const int running = StartSlow(path, "/bytes/100000?rate=40000");
  DWORD elapsed = 0;
  EXPECT_EQ(0, TimedCancel(running + 1000, elapsed));
  EXPECT_GE(elapsed, 1000u);
  EXPECT_LT(elapsed, 2500u);

  ASSERT_TRUE(recorder.WaitForCompletion(running));
  EXPECT_EQ(1, recorder.EventsOf(running).back().value);
  std::string content;
  ASSERT_TRUE(ReadWholeFile(path, content));
  EXPECT_EQ(test_http::GeneratedBody(100000), content);
}

TEST_F(TransferCancel, NothingRunningGivesOneAfterAboutATenthOfASecond) {
  DWORD elapsed = 0;
  EXPECT_EQ(1, TimedCancel(-1, elapsed));
  EXPECT_GE(elapsed, 90u);
  EXPECT_LT(elapsed, 1000u);
}

TEST_F(TransferCancel, RequestUnnoticedWhileWaitingForTheResponseIsWithdrawn) {
  // The server holds the headers back for 2 s: no chunk arrives while the cancel waits.
  const std::string path = TargetPath("cancel-connecting");
  const int id = StartFileTransfer(test_http::Url("/bytes/30000?delay=2000"), path);
  DWORD elapsed = 0;
  EXPECT_EQ(0, TimedCancel(id, elapsed));
  EXPECT_GE(elapsed, 1000u);

  ASSERT_TRUE(recorder.WaitForCompletion(id));
  EXPECT_EQ(1, recorder.EventsOf(id).back().value) << "the withdrawn request stops nothing";
  std::string content;
  ASSERT_TRUE(ReadWholeFile(path, content));
  EXPECT_EQ(test_http::GeneratedBody(30000), content);
}

TEST_F(TransferCancel, CancellingAllAfterCancellingOneStopsEveryTransfer) {
  // A second request must reach the workers with its own target, never the earlier one's.
  const int first = StartSlow(TargetPath("cancel-sequence-1"));
  const int second = StartSlow(TargetPath("cancel-sequence-2"));
  DWORD elapsed = 0;
  EXPECT_EQ(1, TimedCancel(first, elapsed));
  EXPECT_EQ(1, TimedCancel(-1, elapsed));
  for (int id : {first, second}) {
    ASSERT_TRUE(recorder.WaitForCompletion(id));
    EXPECT_EQ(0, recorder.EventsOf(id).back().value);
  }
}

// Abandoning: the transfer stops at once wherever it is, even in a read the server holds,
// completes with failure and removes its file; the caller waits only for the clean-up.
TEST_F(TransferCancel, AbandonStopsAtOnceWhateverTheServerDoes) {
  struct Row {
    const char* shows;
    const char* pathAndQuery;
    bool waitForData;
  } rows[] = {
      {"the server holds its answer", "/bytes/30000?delay=20000", false},
      {"the server stalls in the body", "/bytes/100000?stall=20000", true},
      {"the server trickles", kSlowBody, true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.shows);
    const std::string path = TargetPath("abandon");
    const int id = StartFileTransfer(test_http::Url(row.pathAndQuery), path);
    if (row.waitForData) {
      ASSERT_TRUE(recorder.WaitForProgress(id, 1, 10000));
    }
    const DWORD started = ::GetTickCount();
    EXPECT_EQ(1, HttpGetFileAbandon(id, 1000));
    EXPECT_LT(::GetTickCount() - started, 500u);
    EXPECT_FALSE(PathExists(path)) << "the transfer removed its file as it let go";
    ASSERT_TRUE(recorder.WaitForCompletion(id, 1000));
    EXPECT_EQ(0, recorder.EventsOf(id).back().value);
  }
  EXPECT_EQ(1, HttpGetFileAbandon(987654, 1000)) << "a transfer that is not running has ended";
}

}  // namespace
