// Shared fixture of the engine's Windows tests: fails without the loopback test server,
// names target files in the directory the server serves, starts transfers and, at the end,
// waits for every transfer it started so none runs into the next test.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/support/test_http_server_win.h"
#include "tests/transfer/transfer_recorder_win.h"
#include "transfer/http_get_file_win.h"
#include "transfer/transfer_request.h"
#include "transfer/transfer_win.h"

constexpr const char* kTestAgent = "ZuLauncher";

// The default policy with a stall in a second and resume pauses of a few tens of
// milliseconds.
inline TransferPolicy ShortTimesPolicy() {
  TransferPolicy policy;
  policy.stallLimitMs = 1000;
  policy.resumePausesMs = {50, 100, 200};
  return policy;
}

class TransferTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(test_http::Running()); }

  void TearDown() override {
    for (int id : m_started) {
      EXPECT_TRUE(recorder.WaitForCompletion(id)) << "transfer " << id << " never completed";
    }
  }

  // A fresh path in the served directory.
  std::string TargetPath(const char* name) {
    return test_http::RootDirectory() + test_http::UniqueToken(name) + ".bin";
  }

  // An asynchronous file transfer notified to the recorder; returns its id (0 = not set up).
  int StartFileTransfer(const std::string& url, const std::string& path) {
    int id = 0;
    EXPECT_EQ(1, HttpGetFile(url.c_str(), path.c_str(), recorder.window(), &id, 0, kTestAgent, -1,
                             1, nullptr, nullptr, 0, nullptr, nullptr));
    Started(id);
    return id;
  }

  // An asynchronous transfer under `policy` into `target`, whose file is created at `path`,
  // notified to the recorder; returns its id (0 = not set up).
  int StartTransferIntoFile(
      const std::string& url, const std::string& path, const TransferPolicy& policy,
      std::shared_ptr<HttpFileTarget> target = std::make_shared<HttpFileTarget>()) {
    target->file.reset(::CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                     CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    EXPECT_TRUE(static_cast<bool>(target->file));
    TransferRequest request;
    request.url = url;
    request.agent = kTestAgent;
    request.policy = policy;
    int id = 0;
    EXPECT_TRUE(StartTransferInto(request, std::move(target), recorder.window(), id));
    Started(id);
    return id;
  }

  // Remembers a transfer to wait for at the end.
  void Started(int id) {
    if (id != 0) m_started.push_back(id);
  }

  TransferRecorder recorder;

 private:
  std::vector<int> m_started;
};

// The order every transfer keeps: at most one start, first; progress totals that never fall;
// exactly one completion, last.
inline void ExpectWellOrdered(const std::vector<TransferEvent>& events) {
  ASSERT_FALSE(events.empty());
  EXPECT_EQ(TransferEventKind::Complete, events.back().kind);
  int last = -1;
  for (size_t i = 0; i < events.size(); ++i) {
    switch (events[i].kind) {
      case TransferEventKind::Start:
        EXPECT_EQ(0u, i) << "start message not first";
        break;
      case TransferEventKind::Progress:
        EXPECT_GE(events[i].value, last) << "progress total fell";
        last = events[i].value;
        break;
      case TransferEventKind::Complete:
        EXPECT_EQ(events.size() - 1, i) << "completion not last";
        break;
    }
  }
}

inline std::vector<int> ProgressTotals(const std::vector<TransferEvent>& events) {
  std::vector<int> totals;
  for (const TransferEvent& event : events) {
    if (event.kind == TransferEventKind::Progress) totals.push_back(event.value);
  }
  return totals;
}

inline int CountOf(const std::vector<TransferEvent>& events, TransferEventKind kind) {
  int count = 0;
  for (const TransferEvent& event : events) count += event.kind == kind;
  return count;
}
