// The title strip's colour ramp, column by column.
#include "msgbox/title_strip_gradient.h"

#include <gtest/gtest.h>

namespace {

const RgbColor kActiveFrom = {0, 0, 100};
const RgbColor kActiveTo = {140, 161, 255};

TEST(TitleStripGradient, FirstColumnIsTheStartColour) {
  EXPECT_EQ(kActiveFrom, GradientColumnColor(kActiveFrom, kActiveTo, 0, 235));
}

TEST(TitleStripGradient, LastColumnIsOneStepShortOfTheEndColour) {
  // Width 235: column 234 gets from - 234 * (from - to) / 235 per channel.
  const RgbColor last = GradientColumnColor(kActiveFrom, kActiveTo, 234, 235);
  EXPECT_EQ((RgbColor{139, 160, 254}), last);  // 140*234/235 = 139.4, 161*234/235 = 160.3 ...
  EXPECT_FALSE(last == kActiveTo);
  // With a width that divides the differences the shortfall is exactly one step.
  const RgbColor from = {0, 200, 100};
  const RgbColor to = {100, 0, 100};
  EXPECT_EQ((RgbColor{99, 2, 100}), GradientColumnColor(from, to, 99, 100));
}

TEST(TitleStripGradient, DescendingChannelsTruncateTowardZero) {
  // Red falls 255 -> 0 over 7 columns: 255 - i * 255 / 7 with i * 255 / 7 truncated.
  const RgbColor from = {255, 10, 0};
  const RgbColor to = {0, 0, 3};
  const int expectedRed[7] = {255, 219, 183, 146, 110, 73, 37};
  const int expectedGreen[7] = {10, 9, 8, 6, 5, 3, 2};
  const int expectedBlue[7] = {0, 0, 0, 1, 1, 2, 2};
  for (int column = 0; column < 7; ++column) {
    const RgbColor color = GradientColumnColor(from, to, column, 7);
    EXPECT_EQ(expectedRed[column], color.red) << column;
    EXPECT_EQ(expectedGreen[column], color.green) << column;
    EXPECT_EQ(expectedBlue[column], color.blue) << column;
  }
}

TEST(TitleStripGradient, ColumnsNeverLeaveTheRange) {
  const RgbColor from = {0, 255, 17};
  const RgbColor to = {255, 0, 200};
  for (int width : {1, 2, 3, 20, 235, 1590}) {
    for (int column = 0; column < width; ++column) {
      const RgbColor color = GradientColumnColor(from, to, column, width);
      ASSERT_GE(color.red, 0);
      ASSERT_LE(color.red, 255);
      ASSERT_GE(color.green, 0);
      ASSERT_LE(color.green, 255);
      ASSERT_GE(color.blue, 17);
      ASSERT_LE(color.blue, 200);
    }
  }
}

}  // namespace
