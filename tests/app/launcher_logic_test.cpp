// The launcher core's pure rules: path joining, version comparison, the refresh rule with its
// 64-bit stamps, the parameter's quotes and the command table.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "app/installed_program_info.h"
//LP#include "app/launch_parameter.h"
#include "app/version_refresh.h"
#include "tests/common/code_page_scope.h"

namespace {

TEST(JoinPath, ExactlyOneSeparatorAtTheSeam) {
  struct Case {
    const char* dir;
    const char* name;
    const char* expected;
  };
  const Case cases[] = {
      {"C:\\Program Files\\Demo\\", "demo.ini", "C:\\Program Files\\Demo\\demo.ini"},
      {"C:\\Program Files\\Demo", "\\demo.ini", "C:\\Program Files\\Demo\\demo.ini"},
      {"C:\\Demo", "demo.ini", "C:\\Demo\\demo.ini"},
      {"C:\\Demo\\", "\\demo.ini", "C:\\Demo\\demo.ini"},
      {"", "demo.ini", "\\demo.ini"},
      {"C:\\Demo", "", "C:\\Demo\\"},
      {"C:\\Demo", "\\", "C:\\Demo\\"},
      {"C:\\Demo\\", "\\\\x", "C:\\Demo\\\\x"},  // only one leading separator is removed
      {"C:\\Demo", "sub\\demo.ini", "C:\\Demo\\sub\\demo.ini"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.expected, JoinPath(c.dir, c.name, "\\")) << c.dir << " + " << c.name;
}

TEST(JoinPath, TrailByteBackslashIsNotASeparatorCp932) {
  CodePageScope scope(932);
  // "表" is 95 5C: a directory ending in it does not end in a backslash.
  EXPECT_EQ("C:\\\x95\x5C\\demo.ini", JoinPath("C:\\\x95\x5C", "demo.ini", "\\"));
  EXPECT_EQ("C:\\\x95\x5C\\demo.ini", JoinPath("C:\\\x95\x5C\\", "demo.ini", "\\"));
}

TEST(InstalledVersion, ComparisonWithAndWithoutMinorVersions) {
  struct Case {
    const char* what;
    int local, localMinor, server, serverMinor;
    unsigned checkMinor;
    bool current;
  };
  const Case cases[] = {
      {"same versions", 5, 3, 5, 3, 1, true},
      {"older major", 4, 9, 5, 0, 0, false},
      {"older minor ignored without the check", 5, 1, 5, 3, 0, true},
      {"older minor counts with the check", 5, 1, 5, 3, 1, false},
      {"newer major is current without the check", 6, 0, 5, 3, 0, true},
      {"newer major with lower minor is older under the check", 6, 0, 5, 3, 1, false},
      {"both minors absent compare equal", 5, 0, 5, 0, 1, true},
      {"negative local version is older", -1, 0, 1, 0, 0, false},
  };
  for (const Case& c : cases) {
    InstalledProgramInfo info;
    info.LocalVersion = c.local;
    info.LocalMinorVersion = c.localMinor;
    info.ServerVersion = c.server;
    info.ServerMinorVersion = c.serverMinor;
    EXPECT_EQ(c.current, IsInstalledVersionCurrent(info, c.checkMinor)) << c.what;
  }
}

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
      {"9223372036854775807", INT64_MAX},
  };
  for (const Case& c : cases) EXPECT_EQ(c.value, ParseUpdateTime(c.text)) << c.text;
}

}  // namespace
