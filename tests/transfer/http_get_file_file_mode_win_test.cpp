// File mode against the loopback test server: what lands in the file, the messages and
// their order, and what the engine sends.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/transfer/transfer_test_fixture_win.h"
#include "transfer/http_get_file_win.h"

namespace {

constexpr int kChunk = 10240;
constexpr int kNoStart = -2;  // the transfer must complete without a start message

struct FileModeCase {
  const char* what;
  std::string pathAndQuery;
  int startLength;           // lParam of the start message, or kNoStart
  int outcome;               // lParam of the completion
  std::string fileContent;   // what the file holds afterwards
};

std::vector<FileModeCase> FileModeCases() {
  const std::string body = test_http::GeneratedBody(100000);
  return {
      {"normal body", "/bytes/100000", 100000, 1, body},
      {"body of one byte less than a chunk", "/bytes/10239", 10239, 1, body.substr(0, 10239)},
      {"empty body", "/bytes/0", 0, 1, ""},
      {"no Content-Length", "/bytes/30000?length=none", -1, 1, body.substr(0, 30000)},
      {"chunked encoding", "/bytes/100000?chunked=3000", -1, 1, body},
      {"status 201 is a success", "/bytes/5000?status=201", 5000, 1, body.substr(0, 5000)},
      {"404 with an HTML body", "/no-such-resource", 43, 0, ""},
      {"500 with a body", "/bytes/5000?status=500", 5000, 0, ""},
      {"body cut short of its Content-Length", "/bytes/100000?cut=30000", 100000, 0,
       body.substr(0, 30000)},
      {"body cut short of its Content-Length at a chunk boundary",
       "/bytes/100000?cut=" + std::to_string(3 * kChunk), 100000, 0, body.substr(0, 3 * kChunk)},
  };
}

class HttpGetFileFileMode : public TransferTest {};

TEST_F(HttpGetFileFileMode, StoresTheBodyAndReportsInOrder) {
  for (const FileModeCase& row : FileModeCases()) {
    SCOPED_TRACE(row.what);
    const std::string path = TargetPath("file-mode");
    const int id = StartFileTransfer(test_http::Url(row.pathAndQuery), path);
    ASSERT_NE(0, id);
    ASSERT_TRUE(recorder.WaitForCompletion(id));

    const std::vector<TransferEvent> events = recorder.EventsOf(id);
    ExpectWellOrdered(events);
    EXPECT_EQ(row.outcome, events.back().value);
    if (row.startLength == kNoStart) {
      EXPECT_EQ(0, CountOf(events, TransferEventKind::Start));
    } else {
      ASSERT_EQ(TransferEventKind::Start, events.front().kind);
      EXPECT_EQ(row.startLength, events.front().value);
    }
    // The totals never fall (ExpectWellOrdered); a success ends at the whole body, and an
    // empty body still reports its one (empty) chunk.
    const std::vector<int> totals = ProgressTotals(events);
    if (row.outcome == 1) {
      ASSERT_FALSE(totals.empty());
      EXPECT_EQ(static_cast<int>(row.fileContent.size()), totals.back());
    }
    if (row.fileContent.empty() && row.outcome == 1) {
      EXPECT_EQ(std::vector<int>{0}, totals);
    }
    if (row.outcome == 0 && row.startLength != kNoStart && row.fileContent.empty()) {
      EXPECT_TRUE(totals.empty()) << "a failed status stores nothing";
    }

    std::string content;
    ASSERT_TRUE(ReadWholeFile(path, content)) << "the target file stays in every outcome";
    EXPECT_TRUE(content == row.fileContent) << "file holds " << content.size() << " bytes";
  }
}

TEST_F(HttpGetFileFileMode, ConnectionResetFailsAndKeepsWhatArrived) {
  const std::string path = TargetPath("reset");
  const int id = StartFileTransfer(test_http::Url("/bytes/100000?reset=20000"), path);
  ASSERT_TRUE(recorder.WaitForCompletion(id));
  const std::vector<TransferEvent> events = recorder.EventsOf(id);
  ExpectWellOrdered(events);
  EXPECT_EQ(0, events.back().value);
  std::string content;
  ASSERT_TRUE(ReadWholeFile(path, content));
  EXPECT_LE(content.size(), 20000u);
  EXPECT_EQ(test_http::GeneratedBody(content.size()), content);
}

TEST_F(HttpGetFileFileMode, RefusedConnectionCompletesWithoutStart) {
  const std::string path = TargetPath("refused");
  const int id = StartFileTransfer(test_http::RefusedUrl("/bytes/100"), path);
  ASSERT_TRUE(recorder.WaitForCompletion(id));
  const std::vector<TransferEvent> events = recorder.EventsOf(id);
  ASSERT_EQ(1u, events.size());
  EXPECT_EQ(TransferEventKind::Complete, events[0].kind);
  EXPECT_EQ(0, events[0].value);
  std::string content = "not read";
  ASSERT_TRUE(ReadWholeFile(path, content));
  EXPECT_EQ("", content);
}

TEST_F(HttpGetFileFileMode, ExistingFileIsReplaced) {
  const std::string path = TargetPath("existing");
  {
    UniqueFileHandle file(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(file);
    const std::string old(50000, 'x');
    DWORD written = 0;
    ASSERT_TRUE(::WriteFile(file.get(), old.data(), static_cast<DWORD>(old.size()), &written,
                            nullptr));
  }
  const int id = StartFileTransfer(test_http::Url("/bytes/3000"), path);
  ASSERT_TRUE(recorder.WaitForCompletion(id));
  std::string content;
  ASSERT_TRUE(ReadWholeFile(path, content));
  EXPECT_EQ(test_http::GeneratedBody(3000), content);
}

TEST_F(HttpGetFileFileMode, ServedFileArrivesWhole) {
  const std::string name = test_http::UniqueToken("served") + ".txt";
  const std::string text = "[GENERAL]\r\nVERSION=3\r\n";
  {
    UniqueFileHandle file(::CreateFileA((test_http::RootDirectory() + name).c_str(),
                                        GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(file);
    DWORD written = 0;
    ASSERT_TRUE(::WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written,
                            nullptr));
  }
  const std::string path = TargetPath("served-copy");
  const int id = StartFileTransfer(test_http::Url("/files/" + name), path);
  ASSERT_TRUE(recorder.WaitForCompletion(id));
  EXPECT_EQ(1, recorder.EventsOf(id).back().value);
  std::string content;
  ASSERT_TRUE(ReadWholeFile(path, content));
  EXPECT_EQ(text, content);
}

TEST_F(HttpGetFileFileMode, WithoutPathTheBytesAreCountedAndDiscarded) {
  int id = 0;
  int length = -7;
  int contentLength = -7;
  ASSERT_EQ(1, HttpGetFile(test_http::Url("/bytes/54321").c_str(), nullptr, recorder.window(),
                           &id, 0, kTestAgent, -1, 1, nullptr, &length, 0, &contentLength,
                           nullptr));
  Started(id);
  ASSERT_TRUE(recorder.WaitForCompletion(id));
  EXPECT_EQ(1, recorder.EventsOf(id).back().value);
  EXPECT_EQ(54321, length);
  EXPECT_EQ(54321, contentLength);
}

TEST_F(HttpGetFileFileMode, RequestCarriesAgentExtraHeadersAndNoCache) {
  const std::string token = test_http::UniqueToken("headers");
  const std::string path = TargetPath("headers");
  const char* agent = "ZuLauncher-Test/2.0";
  int id = 0;
  ASSERT_EQ(1, HttpGetFile(test_http::Url("/bytes/10?token=" + token).c_str(), path.c_str(),
                           recorder.window(), &id, 0, agent, -1, 1, nullptr, nullptr, 0,
                           nullptr, "X-Zu-Test: first\r\nX-Zu-Other: second\r\n"));
  Started(id);
  ASSERT_TRUE(recorder.WaitForCompletion(id));
  EXPECT_EQ(1, recorder.EventsOf(id).back().value);

  const std::vector<test_http::RecordedRequest> requests = test_http::RecordedRequests(token);
  ASSERT_EQ(1u, requests.size()) << "no retries, one request";
  EXPECT_EQ("GET", requests[0].method);
  EXPECT_EQ("/bytes/10?token=" + token, requests[0].target);
  EXPECT_EQ(agent, requests[0].Header("User-Agent"));
  EXPECT_EQ("first", requests[0].Header("X-Zu-Test"));
  EXPECT_EQ("second", requests[0].Header("X-Zu-Other"));
  EXPECT_EQ("no-cache", requests[0].Header("Pragma")) << "proxies must not answer from cache";
}

class HttpGetFileSynchronous : public TransferTest {};

TEST_F(HttpGetFileSynchronous, ReturnsTheOutcomeWithMessagesAlreadyQueued) {
  struct Row {
    const char* what;
    const char* pathAndQuery;
    int outcome;
  };
  const Row rows[] = {
      {"whole body", "/bytes/25000", 1},
      {"cut short", "/bytes/25000?cut=12000", 0},
      {"404", "/no-such-resource", 0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    const std::string path = TargetPath("sync");
    int id = 0;
    EXPECT_EQ(row.outcome, HttpGetFile(test_http::Url(row.pathAndQuery).c_str(), path.c_str(),
                                       recorder.window(), &id, 1, kTestAgent, -1, 1, nullptr,
                                       nullptr, 0, nullptr, nullptr));
    recorder.Drain();
    EXPECT_TRUE(recorder.Completed(id)) << "completion posted before the call returned";
    const std::vector<TransferEvent> events = recorder.EventsOf(id);
    ExpectWellOrdered(events);
    EXPECT_EQ(row.outcome, events.back().value);
  }
}

TEST_F(HttpGetFileSynchronous, WithoutWindowPostsNothing) {
  recorder.Drain();
  const std::string path = TargetPath("sync-quiet");
  int id = 0;
  ASSERT_EQ(1, HttpGetFile(test_http::Url("/bytes/30000").c_str(), path.c_str(), nullptr, &id,
                           1, kTestAgent, -1, 1, nullptr, nullptr, 0, nullptr, nullptr));
  ASSERT_EQ(0, HttpGetFile(test_http::RefusedUrl("/").c_str(), path.c_str(), nullptr, &id, 1,
                           kTestAgent, -1, 1, nullptr, nullptr, 0, nullptr, nullptr));
  // A message posted to no window would land in this thread's own queue.
  MSG message;
  int engineMessages = 0;
  while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    engineMessages += message.message == WM_HTTPGETFILE_START ||
                      message.message == WM_HTTPGETFILE_PROGRESS ||
                      message.message == WM_HTTPGETFILE_COMPLETE;
    ::DispatchMessageA(&message);
  }
  EXPECT_EQ(0, engineMessages);
  EXPECT_TRUE(recorder.events().empty());
}

TEST_F(HttpGetFileSynchronous, LeavesTheCallersThreadAtTheGivenPriority) {
  const int before = ::GetThreadPriority(::GetCurrentThread());
  const std::string path = TargetPath("priority");
  ASSERT_EQ(1, HttpGetFile(test_http::Url("/bytes/100").c_str(), path.c_str(), nullptr,
                           nullptr, 1, kTestAgent, -1, 1, nullptr, nullptr,
                           THREAD_PRIORITY_BELOW_NORMAL, nullptr, nullptr));
  EXPECT_EQ(THREAD_PRIORITY_BELOW_NORMAL, ::GetThreadPriority(::GetCurrentThread()));
  ::SetThreadPriority(::GetCurrentThread(), before);
}

// A receiver that is slow to take its messages finds at most one progress message waiting,
// and the last one before the completion carries the final count.
TEST_F(HttpGetFileFileMode, AtMostOneProgressMessageWaitsAndTheLastCarriesTheFinalCount) {
  constexpr int kSize = 3000000;
  const int id = StartFileTransfer(test_http::Url("/bytes/3000000"), TargetPath("one-waiting"));
  ::Sleep(500);              // the transfer runs on, nobody takes its messages
  std::vector<MSG> waiting;  // everything queued for the recorder, in order
  MSG message;
  while (::PeekMessageA(&message, recorder.window(), 0, 0, PM_REMOVE)) waiting.push_back(message);
  int progressWaiting = 0;
  for (const MSG& queued : waiting) progressWaiting += queued.message == WM_HTTPGETFILE_PROGRESS;
  EXPECT_EQ(1, progressWaiting);
  for (const MSG& taken : waiting) ::DispatchMessageA(&taken);
  ASSERT_TRUE(recorder.WaitForCompletion(id));
  const std::vector<TransferEvent> events = recorder.EventsOf(id);
  ExpectWellOrdered(events);
  EXPECT_EQ(1, events.back().value);
  const std::vector<int> totals = ProgressTotals(events);
  ASSERT_FALSE(totals.empty());
  EXPECT_EQ(kSize, totals.back());
  EXPECT_LT(totals.size(), static_cast<size_t>(kSize / kChunk)) << "not one per chunk";
}

}  // namespace
