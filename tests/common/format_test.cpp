#include "common/format.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(Format, ConversionsAsPrintfGivesThem) {
  EXPECT_EQ("nEC:42", Format("nEC:%d", 42));
  EXPECT_EQ("-7|  12|0x1f|ab|c", Format("%d|%4u|%#x|%s|%c", -7, 12u, 31, "ab", 'c'));
  EXPECT_EQ("100%", Format("%d%%", 100));
  EXPECT_EQ("3.14", Format("%.2f", 3.14159));
  EXPECT_EQ("", Format("%s", ""));
  EXPECT_EQ("9223372036854775807", Format("%lld", 9223372036854775807LL));
}

TEST(Format, NeverTruncatesLongArguments) {
  for (size_t length : {1023u, 1024u, 1025u, 4096u, 70000u, 1000000u}) {
    const std::string argument(length, 'x');
    const std::string result = Format("[%s|%s]", argument.c_str(), "end");
    ASSERT_EQ(length + 6, result.size()) << length;
    EXPECT_EQ('[', result.front());
    EXPECT_EQ("|end]", result.substr(result.size() - 5));
  }
}

TEST(Format, WideFieldsAndPrecisionsAreHonoured) {
  EXPECT_EQ(std::string(5000, ' ') + "7", Format("%5001d", 7));
  const std::string fixed = Format("%.300f", 1.0);
  EXPECT_EQ(302u, fixed.size());
  EXPECT_EQ("1.000", fixed.substr(0, 5));
  // A fixed-point conversion of a huge value is as long as its digits.
  const std::string huge = Format("%.1f", 1e300);
  EXPECT_EQ(303u, huge.size());
  EXPECT_EQ("10000000000000000525", huge.substr(0, 20));
  EXPECT_EQ(".0", huge.substr(301));
}

TEST(Format, KeepsEmbeddedNonAsciiBytes) {
  EXPECT_EQ("\xC7\xD1 \xC1\xA4", Format("%s %s", "\xC7\xD1", "\xC1\xA4"));
}

}  // namespace
