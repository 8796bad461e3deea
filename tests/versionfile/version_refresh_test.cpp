// The version file's refresh rule with its 64-bit stamps.
#include "versionfile/version_refresh.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

TEST(VersionFileRefresh, DueAfterThreeHoursEitherWayOrWhenForced) {
  const int64_t now = 1'800'000'000;
  struct Case {
    const char* what;
    int64_t lastUpdate;
    unsigned force;
    bool due;
  };
  const Case cases[] = {
      {"stamped now", now, 0, false},
      {"exactly 10800 s ago", now - 10800, 0, false},
      {"10801 s ago", now - 10801, 0, true},
      {"exactly 10800 s ahead", now + 10800, 0, false},
      {"10801 s ahead (clock set back)", now + 10801, 0, true},
      {"no stamp reads as 0", 0, 0, true},
      {"forced although fresh", now, 1, true},
      {"any non-zero force", now, 7, true},
      {"hostile stamp far in the past", INT64_MIN, 0, true},
      {"hostile stamp far in the future", INT64_MAX, 0, true},
  };
  for (const Case& c : cases) EXPECT_EQ(c.due, IsVersionFileDue(now, c.lastUpdate, c.force)) << c.what;
}

TEST(VersionFileRefresh, StampsPast2038) {
  const int64_t in2040 = 2'209'000'000;  // beyond the 32-bit range
  EXPECT_EQ("2209000000", FormatUpdateTime(in2040));
  EXPECT_EQ(in2040, ParseUpdateTime(FormatUpdateTime(in2040)));
  EXPECT_FALSE(IsVersionFileDue(in2040 + 60, in2040, 0));
  EXPECT_TRUE(IsVersionFileDue(in2040 + 10801, in2040, 0));
}

TEST(VersionFileRefresh, ParsesStampsAsTheProfileFunctionsReadIntegers) {
  struct Case {
    const char* text;
    int64_t value;
  };
  const Case cases[] = {
      {"1700000000", 1700000000},  // written by a 32-bit writer
      {"  42", 42},
      {"+42", 42},
      {"-5", -5},
      {"123abc", 123},
      {"", 0},
      {"abc", 0},
      {"99999999999999999999", 0},  // beyond 64 bits
      {"20000000000000000000", 0},  // would wrap past 2^64 if checked after multiplying
      {"18446744075409551616", 0},  // wraps to a plausible time, 1700000000, if unchecked
      {"9223372036854775808", 0},   // one past the largest
      {"9223372036854775807", INT64_MAX},
  };
  for (const Case& c : cases) EXPECT_EQ(c.value, ParseUpdateTime(c.text)) << c.text;
}

}  // namespace
