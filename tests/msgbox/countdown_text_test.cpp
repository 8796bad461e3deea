// The countdown text: only a text with exactly one "%d" is formatted; nothing else is
// passed to the formatter, whatever it holds.
#include "msgbox/countdown_text.h"

#include <gtest/gtest.h>

namespace {

TEST(CountdownText, FormatsExactlyOnePercentD) {
  struct Row {
    const char* text;
    int seconds;
    const char* shown;
  };
  const Row rows[] = {
      {"Closing in %d s", 5, "Closing in 5 s"},
      {"%d", 1, "1"},
      {"100%% done, %d left", 3, "100% done, 3 left"},
      {"%%%d%%", 0, "%0%"},
      {"%d", -4, "-4"},
      {"%d", 2147483647, "2147483647"},
  };
  for (const Row& row : rows) {
    EXPECT_TRUE(IsCountdownFormat(row.text)) << row.text;
    EXPECT_EQ(row.shown, CountdownText(row.text, row.seconds)) << row.text;
  }
}

TEST(CountdownText, EveryOtherTextIsShownAsItStands) {
  const char* const texts[] = {
      "",
      "No number here",
      "100%% done",      // no conversion at all
      "%d and %d",       // two conversions
      "%s",              // a string conversion would read a pointer that is not there
      "%d %s",
      "%n%d",
      "%5d",             // width, flags and length are not the plain conversion
      "%ld",
      "%-d",
      "%x",
      "%",               // a lone percent
      "ends with %d%",
      "%%%",
      "%%d",             // an escaped percent followed by a letter: no conversion
      "%I64d",
      "%*d",
  };
  for (const char* text : texts) {
    EXPECT_FALSE(IsCountdownFormat(text)) << text;
    EXPECT_EQ(text, CountdownText(text, 5)) << text;
  }
}

TEST(CountdownText, DoubleByteTextAroundTheConversion) {
  // Code page 949 "예 %d" and a 1251 text: the bytes around the conversion are kept.
  EXPECT_EQ("\xbf\xb9 7", CountdownText("\xbf\xb9 %d", 7));
  EXPECT_EQ("\xce\xf2 7 \xec", CountdownText("\xce\xf2 %d \xec", 7));
}

TEST(CountdownText, EmbeddedNulDoesNotHideAConversion) {
  const std::string hidden("%d\0%s", 5);
  EXPECT_FALSE(IsCountdownFormat(hidden));
  EXPECT_EQ(hidden, CountdownText(hidden, 1));
}

}  // namespace
