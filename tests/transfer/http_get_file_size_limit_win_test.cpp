// Transfers into a caller's file under a size limit (StartTransferInto): a body longer than the
// limit stops at once and never grows the file past it, and the record shared with the worker
// is destroyed by whoever lets go last, the worker included.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <memory>
#include <string>

#include "tests/transfer/transfer_test_fixture_win.h"
#include "transfer/http_file_target_win.h"
#include "transfer/http_get_file_win.h"

namespace {

constexpr int64_t kChunk = 10240;

// A target that says when it is destroyed, and by then its file is closed.
struct CountedTarget : HttpFileTarget {
  explicit CountedTarget(std::atomic<int>& destroyed) : m_destroyed(destroyed) {}
  ~CountedTarget() override { ++m_destroyed; }
  std::atomic<int>& m_destroyed;
};

class HttpGetFileSizeLimit : public TransferTest {
 protected:
  // Starts a transfer into a new file at `path` under `limit`; the transfer id.
  int Start(const std::string& pathAndQuery, const std::string& path, int64_t limit,
            std::shared_ptr<CountedTarget>& target) {
    target = std::make_shared<CountedTarget>(m_destroyed);
    TransferPolicy policy;
    policy.sizeLimit = limit;
    return StartTransferIntoFile(test_http::Url(pathAndQuery), path, policy, target);
  }

  std::atomic<int> m_destroyed{0};
};

TEST_F(HttpGetFileSizeLimit, LongerBodyStopsAtOnceAndTheFileNeverPassesTheLimit) {
  const std::string body = test_http::GeneratedBody(100000);
  struct Row {
    const char* what;
    std::string pathAndQuery;
    int64_t limit;
    int outcome;
    int64_t fileSize;  // what the file holds: the body's first bytes
    bool exceeded;
    int64_t offeredAtLeast, offeredAtMost;
  };
  const Row rows[] = {
      {"exactly the limit", "/bytes/100000", 100000, 1, 100000, false, 0, 0},
      {"announced one byte longer: refused before the body", "/bytes/100000", 99999, 0, 0, true,
       100000, 100000},
      {"unannounced, one byte longer", "/bytes/100000?length=none", 99999, 0, 99999, true, 100000,
       100000},
      {"unannounced and much longer: stopped within a chunk past the limit",
       "/bytes/5000000?length=none", 25000, 0, 25000, true, 25001, 25000 + kChunk},
      {"chunked and much longer", "/bytes/5000000?chunked=3000", 25000, 0, 25000, true, 25001,
       25000 + kChunk},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    const std::string path = TargetPath("size-limit");
    std::shared_ptr<CountedTarget> target;
    const int id = Start(row.pathAndQuery, path, row.limit, target);
    ASSERT_NE(0, id);
    ASSERT_TRUE(recorder.WaitForCompletion(id, 10000)) << "the transfer did not stop";
    EXPECT_EQ(row.outcome, recorder.EventsOf(id).back().value);
    EXPECT_EQ(row.exceeded, target->sizeLimitExceeded.load());
    if (row.exceeded) {
      EXPECT_GE(target->bytesOffered.load(), row.offeredAtLeast);
      EXPECT_LE(target->bytesOffered.load(), row.offeredAtMost);
    }
    std::string content;
    ASSERT_TRUE(ReadWholeFile(path, content));
    EXPECT_EQ(row.fileSize, static_cast<int64_t>(content.size()));
    EXPECT_TRUE(content == test_http::GeneratedBody(content.size())) << "the body's first bytes";
    ::DeleteFileA(path.c_str());
  }
}

TEST_F(HttpGetFileSizeLimit, WorkerThatLetsGoLastDestroysTheSharedRecord) {
  const std::string path = TargetPath("size-limit-owner");
  std::shared_ptr<CountedTarget> target;
  const int id = Start("/bytes/200000?rate=400000", path, -1, target);
  ASSERT_NE(0, id);
  target.reset();  // the caller has gone; the worker still writes
  EXPECT_EQ(0, m_destroyed.load()) << "the worker still holds its share";
  ASSERT_TRUE(recorder.WaitForCompletion(id));
  for (int i = 0; i < 100 && m_destroyed.load() == 0; ++i) ::Sleep(10);
  EXPECT_EQ(1, m_destroyed.load()) << "the worker's release was the last";
  std::string content;
  ASSERT_TRUE(ReadWholeFile(path, content)) << "its handle was closed first";
  EXPECT_EQ(200000u, content.size());
  ::DeleteFileA(path.c_str());
}

TEST_F(HttpGetFileSizeLimit, TransferThatCannotBeSetUpHoldsNoShareAndClosesTheFile) {
  const std::string path = TargetPath("size-limit-refused");
  std::shared_ptr<CountedTarget> target = std::make_shared<CountedTarget>(m_destroyed);
  target->file.reset(::CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                   CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(static_cast<bool>(target->file));
  const std::string longAgent(600, 'a');  // refused: 512 characters or more
  TransferRequest request;
  request.url = test_http::Url("/bytes/10");
  request.agent = longAgent;
  int id = 0;
  EXPECT_FALSE(StartTransferInto(request, target, recorder.window(), id));
  EXPECT_EQ(1, target.use_count());
  EXPECT_FALSE(static_cast<bool>(target->file)) << "taken over and closed";
  EXPECT_TRUE(::DeleteFileA(path.c_str())) << "no handle keeps it";
}

}  // namespace
