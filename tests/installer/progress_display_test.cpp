// The progress display's arithmetic: percentage, throttle and byte-count grouping.
#include "installer/progress_display.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

TEST(ProgressPercent, RoundsLikeMulDiv) {
  struct Row {
    int bytes, total, expected;
    const char* shows;
  } rows[] = {
      {2500000, 5000000, 50, "half of 5 MB"},
      {0, 5000000, 0, "nothing yet"},
      {5000000, 5000000, 100, "all of it"},
      {1, 200, 1, "0.5 rounds up"},
      {1, 201, 0, "0.497 rounds down"},
      {1048576 * 3, 1048576, 300, "past the unknown-length bar: beyond 100"},
      {-1, 200, -1, "negative halves round away from zero"},
      {1, -200, -1, "negative divisor"},
      {-1, -200, 1, "both negative"},
      {INT_MAX, 1, -1, "too large for an int"},
      {INT_MAX, INT_MAX, 100, "64-bit product does not overflow"},
      {2000000000, 2100000000, 95, "large sizes near the int limit"},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(row.expected, ProgressPercent(row.bytes, row.total)) << row.shows;
  }
}

TEST(ProgressPercent, ZeroTotalGivesMinusOneSoTheBarStaysEmpty) {
  EXPECT_EQ(-1, ProgressPercent(0, 0));
  EXPECT_EQ(-1, ProgressPercent(12345, 0));
}

TEST(ProgressTotal, UnknownLengthStandsForOneMebibyte) {
  EXPECT_EQ(1048576, ProgressTotal(-1));
  EXPECT_EQ(0, ProgressTotal(0));
  EXPECT_EQ(5000000, ProgressTotal(5000000));
  EXPECT_EQ(-2, ProgressTotal(-2)) << "only -1 means unknown";
}

TEST(ProgressTotal, ExpectedInstallerSizeOfZeroIsNoneAndAHugeOneIsClamped) {
  EXPECT_EQ(1048576, ProgressTotal(-1, 0)) << "an empty expected size is no total";
  EXPECT_EQ(INT_MAX, ProgressTotal(-1, int64_t(1) << 40)) << "clamped to the int range";
}

TEST(ShouldRefreshProgress, ChangedPercentOrMoreThanAHundredMilliseconds) {
  struct Row {
    uint32_t lastTick;
    int lastPercent;
    uint32_t now;
    int percent;
    bool expected;
    const char* shows;
  } rows[] = {
      {1000, 10, 1050, 10, false, "same percent, 50 ms"},
      {1000, 10, 1100, 10, false, "same percent, exactly 100 ms"},
      {1000, 10, 1101, 10, true, "same percent, 101 ms"},
      {1000, 10, 1001, 11, true, "percent changed at once"},
      {1000, 10, 1000, 9, true, "percent went down"},
      {0, 0, 5000000, 0, true, "first message: the last refresh was at tick 0"},
      {0, 0, 60, 0, false, "first message within 100 ms of boot, same percent"},
      {0xFFFFFFF0u, 7, 0x00000010u, 7, false, "tick wrapped, 32 ms passed"},
      {0xFFFFFFF0u, 7, 0x00000080u, 7, true, "tick wrapped, 144 ms passed"},
      {0xFFFFFFC0u, 7, 0xFFFFFFF0u, 7, false, "last tick + 100 overflows, 48 ms passed"},
      {1000, -1, 1001, -1, false, "zero total: -1 both times"},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(row.expected,
              ShouldRefreshProgress(row.lastTick, row.lastPercent, row.now, row.percent))
        << row.shows;
  }
}

TEST(FormatByteCount, GroupsThousandsWithCommas) {
  struct Row {
    int bytes;
    const char* expected;
  } rows[] = {
      {0, "0"},
      {7, "7"},
      {999, "999"},
      {1000, "1,000"},
      {12345, "12,345"},
      {100000, "100,000"},
      {999999, "999,999"},
      {1000000, "1,000,000"},
      {1234567, "1,234,567"},
      {2500000, "2,500,000"},
      {INT_MAX, "2,147,483,647"},
      {-5, "-5"},
      {-123, "-123"},
      {-1000, "-1,000"},
      {-100000, "-100,000"},
      {INT_MIN, "-2,147,483,648"},
  };
  for (const Row& row : rows) EXPECT_EQ(row.expected, FormatByteCount(row.bytes)) << row.bytes;
}

}  // namespace
