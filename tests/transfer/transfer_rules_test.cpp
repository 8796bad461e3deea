// The engine's pure rules: id sequence and wrap, header values, the end of a body and the
// cancel words.
#include "transfer/transfer_rules.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

TEST(TransferRules, IdsRunFromOneAndWrapToZeroAfter2147483646) {
  EXPECT_EQ(1, NextTransferId(0));
  EXPECT_EQ(2, NextTransferId(1));
  EXPECT_EQ(2147483646, NextTransferId(2147483645));
  EXPECT_EQ(0, NextTransferId(2147483646));
  EXPECT_EQ(1, NextTransferId(NextTransferId(2147483646)));
}

TEST(TransferRules, ContentLengthReadsLikeALeadingDecimalInteger) {
  struct Row {
    const char* text;
    int value;
  };
  const Row rows[] = {
      {"0", 0},
      {"100000", 100000},
      {"  42", 42},                     // leading whitespace skipped
      {"12abc", 12},                    // stops at the first non-digit
      {"+7", 7},
      {"-5", -5},
      {"", 0},
      {"abc", 0},
      {"2147483647", INT_MAX},
      {"2147483648", INT_MAX},           // clamped, never overflowing
      {"99999999999999999999999", INT_MAX},
      {"-99999999999999999999999", INT_MIN},
  };
  for (const Row& row : rows) EXPECT_EQ(row.value, ParseContentLength(row.text)) << row.text;
  EXPECT_EQ(0, ParseContentLength(nullptr));
}

TEST(TransferRules, OnlyStatusesBeginningWithTwoSucceed) {
  EXPECT_TRUE(IsSuccessStatus("200"));
  EXPECT_TRUE(IsSuccessStatus("204"));
  EXPECT_TRUE(IsSuccessStatus("2"));
  EXPECT_FALSE(IsSuccessStatus("404"));
  EXPECT_FALSE(IsSuccessStatus("301"));
  EXPECT_FALSE(IsSuccessStatus(" 200"));
  EXPECT_FALSE(IsSuccessStatus(""));
  EXPECT_FALSE(IsSuccessStatus(nullptr));
}

TEST(TransferRules, BodyEndsShortOnlyBelowAnAnnouncedLength) {
  EXPECT_TRUE(BodyEndedShort(100000, 30000));
  EXPECT_TRUE(BodyEndedShort(1, 0));
  EXPECT_FALSE(BodyEndedShort(100000, 100000));
  EXPECT_FALSE(BodyEndedShort(0, 0));
  EXPECT_FALSE(BodyEndedShort(-1, 0)) << "no Content-Length: the end of the stream is the end";
  EXPECT_FALSE(BodyEndedShort(-1, 12345));
  EXPECT_FALSE(BodyEndedShort(INT_MAX, int64_t(INT_MAX) + 5));
}

TEST(TransferRules, ByteLimitIsReachedAtOrPastIt) {
  EXPECT_FALSE(ByteLimitReached(-1, 0));
  EXPECT_FALSE(ByteLimitReached(-1, int64_t(1) << 40));
  EXPECT_TRUE(ByteLimitReached(0, 0));
  EXPECT_FALSE(ByteLimitReached(5000, 4999));
  EXPECT_TRUE(ByteLimitReached(5000, 5000));
  EXPECT_TRUE(ByteLimitReached(5000, 10240));
}

TEST(TransferRules, SizeLimitLetsThroughOnlyTheBytesUpToIt) {
  struct Row {
    int64_t limit, stored, read, storable;
    const char* shows;
  };
  const Row rows[] = {
      {-1, int64_t(1) << 40, 10240, 10240, "no limit"},
      {10000, 0, 10000, 10000, "a chunk that ends exactly at the limit"},
      {10000, 5000, 10240, 5000, "a chunk that crosses it is cut at the limit"},
      {10000, 10000, 1, 0, "one byte past it is not stored"},
      {0, 0, 10240, 0, "a limit of 0 stores nothing"},
      {10000, 9999, 0, 0, "the end of the body"},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(row.storable, BytesWithinSizeLimit(row.limit, row.stored, row.read)) << row.shows;
  }
}

TEST(TransferRules, TotalsBeyondTheIntRangeAreClamped) {
  EXPECT_EQ(0, ClampToInt(0));
  EXPECT_EQ(INT_MAX, ClampToInt(INT_MAX));
  EXPECT_EQ(INT_MAX, ClampToInt(int64_t(INT_MAX) + 1));
  EXPECT_EQ(INT_MIN, ClampToInt(int64_t(INT_MIN) - 1));
}

TEST(TransferRules, CancelRequestConcernsAllOrTheNamedTransfer) {
  struct Row {
    const char* what;
    int request;
    int target;
    int id;
    CancelVerdict verdict;
  };
  const Row rows[] = {
      {"no request", 0, -1, 3, CancelVerdict::GoOn},
      {"no request, target left from before", 0, 3, 3, CancelVerdict::GoOn},
      {"all transfers", 1, -1, 3, CancelVerdict::StopAll},
      {"this transfer", 1, 3, 3, CancelVerdict::StopThis},
      {"another transfer", 1, 4, 3, CancelVerdict::GoOn},
      {"transfer id 0 after the wrap", 1, 0, 0, CancelVerdict::StopThis},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(row.verdict, JudgeCancelRequest(row.request, row.target, row.id)) << row.what;
  }
}

}  // namespace
