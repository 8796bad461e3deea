// Memory mode against the loopback test server: the buffer, its terminating NUL, the byte
// limit and what is left after a failure.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/transfer/transfer_test_fixture_win.h"
#include "transfer/http_get_file_win.h"

namespace {

constexpr int kChunk = 10240;

struct MemoryTransfer {
  int id = 0;
  char* buffer = reinterpret_cast<char*>(1);  // must be set to null by the set-up
  int length = -7;
  int contentLength = -7;

  ~MemoryTransfer() {
    if (buffer != reinterpret_cast<char*>(1)) HttpGetFileFreeBuffer(buffer);
  }
  std::string Bytes() const { return buffer ? std::string(buffer, length) : std::string(); }
};

class HttpGetFileMemoryMode : public TransferTest {
 protected:
  // Runs an asynchronous memory-mode transfer to its end; returns its outcome.
  int Fetch(const std::string& pathAndQuery, int maxBytes, MemoryTransfer& transfer) {
    EXPECT_EQ(1, HttpGetFile(test_http::Url(pathAndQuery).c_str(), nullptr, recorder.window(),
                             &transfer.id, 0, kTestAgent, maxBytes, 0, &transfer.buffer,
                             &transfer.length, 0, &transfer.contentLength, nullptr));
    Started(transfer.id);
    EXPECT_TRUE(recorder.WaitForCompletion(transfer.id));
    const std::vector<TransferEvent> events = recorder.EventsOf(transfer.id);
    ExpectWellOrdered(events);
    return events.empty() ? -1 : events.back().value;
  }
};

TEST_F(HttpGetFileMemoryMode, BufferEqualsTheBodyAndEndsWithNul) {
  const int sizes[] = {1, 10240, 10241, 50000};
  for (int size : sizes) {
    SCOPED_TRACE(size);
    MemoryTransfer transfer;
    ASSERT_EQ(1, Fetch("/bytes/" + std::to_string(size), -1, transfer));
    ASSERT_NE(nullptr, transfer.buffer);
    EXPECT_EQ(size, transfer.length);
    EXPECT_EQ(size, transfer.contentLength);
    EXPECT_EQ(test_http::GeneratedBody(size), transfer.Bytes());
    EXPECT_EQ('\0', transfer.buffer[size]);
    const std::vector<int> totals = ProgressTotals(recorder.EventsOf(transfer.id));
    ASSERT_FALSE(totals.empty());
    EXPECT_EQ(size, totals.back());
  }
}

TEST_F(HttpGetFileMemoryMode, ChunkedAndLengthlessBodiesArriveWhole) {
  const char* queries[] = {"/bytes/40000?chunked=7000", "/bytes/40000?length=none"};
  for (const char* query : queries) {
    SCOPED_TRACE(query);
    MemoryTransfer transfer;
    ASSERT_EQ(1, Fetch(query, -1, transfer));
    EXPECT_EQ(-1, transfer.contentLength);
    EXPECT_EQ(test_http::GeneratedBody(40000), transfer.Bytes());
  }
}

TEST_F(HttpGetFileMemoryMode, EmptyBodyLeavesBufferNullWithoutProgress) {
  MemoryTransfer transfer;
  ASSERT_EQ(1, Fetch("/bytes/0", -1, transfer));
  EXPECT_EQ(nullptr, transfer.buffer);
  EXPECT_EQ(0, transfer.length);
  const std::vector<TransferEvent> events = recorder.EventsOf(transfer.id);
  ASSERT_EQ(2u, events.size());
  EXPECT_EQ(TransferEventKind::Start, events[0].kind);
  EXPECT_EQ(0, events[0].value);
  EXPECT_EQ(TransferEventKind::Complete, events[1].kind);
}

TEST_F(HttpGetFileMemoryMode, ByteLimitStoresAtMostOneChunkPastIt) {
  const int limits[] = {0, 5000, kChunk, 25000};
  for (int limit : limits) {
    SCOPED_TRACE(limit);
    MemoryTransfer transfer;
    ASSERT_EQ(1, Fetch("/bytes/100000", limit, transfer));
    EXPECT_GE(transfer.length, limit);
    EXPECT_LE(transfer.length, limit + kChunk);
    EXPECT_LT(transfer.length, 100000);
    EXPECT_EQ(test_http::GeneratedBody(transfer.length), transfer.Bytes());
    ASSERT_NE(nullptr, transfer.buffer);
    EXPECT_EQ('\0', transfer.buffer[transfer.length]);
  }
}

TEST_F(HttpGetFileMemoryMode, FailureFreesTheBuffer) {
  struct Row {
    const char* what;
    const char* pathAndQuery;
  };
  const Row rows[] = {
      {"cut short of its Content-Length", "/bytes/100000?cut=30000"},
      {"connection reset", "/bytes/100000?reset=30000"},
      {"404", "/no-such-resource"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    MemoryTransfer transfer;
    EXPECT_EQ(0, Fetch(row.pathAndQuery, -1, transfer));
    EXPECT_EQ(nullptr, transfer.buffer);
  }
}

TEST_F(HttpGetFileMemoryMode, WithoutBufferPointerTheBytesAreOnlyCounted) {
  int id = 0;
  int length = -7;
  ASSERT_EQ(1, HttpGetFile(test_http::Url("/bytes/33333").c_str(), nullptr, recorder.window(),
                           &id, 0, kTestAgent, -1, 0, nullptr, &length, 0, nullptr, nullptr));
  Started(id);
  ASSERT_TRUE(recorder.WaitForCompletion(id));
  EXPECT_EQ(1, recorder.EventsOf(id).back().value);
  EXPECT_EQ(33333, length);
}

TEST_F(HttpGetFileMemoryMode, SynchronousTransferReturnsTheFilledBuffer) {
  MemoryTransfer transfer;
  ASSERT_EQ(1, HttpGetFile(test_http::Url("/bytes/20000").c_str(), nullptr, nullptr,
                           &transfer.id, 1, kTestAgent, -1, 0, &transfer.buffer,
                           &transfer.length, 0, nullptr, nullptr));
  EXPECT_EQ(test_http::GeneratedBody(20000), transfer.Bytes());
}

}  // namespace
