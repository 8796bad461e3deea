// Centring a window over a reference rectangle within a work area.
#include "common/screen_rect.h"

#include <gtest/gtest.h>

namespace {

TEST(CentredOrigin, CentresAndKeepsInsideTheWorkArea) {
  const ScreenRect workArea{0, 0, 1280, 984};  // a taskbar takes the bottom 40 pixels
  struct Row {
    ScreenRect window, reference;
    int x, y;
    const char* shows;
  } rows[] = {
      {{0, 0, 300, 100}, workArea, 490, 442, "no owner: centred in the work area"},
      {{0, 0, 300, 100}, {100, 100, 500, 300}, 150, 150, "over an owner"},
      {{0, 0, 300, 100}, {-200, -100, 100, 100}, 0, 0, "owner off the top left: clamped"},
      {{0, 0, 300, 100}, {1100, 900, 1400, 1100}, 980, 884, "owner off the bottom right"},
      {{0, 0, 2000, 100}, workArea, 0, 442, "wider than the work area: left edge"},
      {{0, 0, 300, 1200}, workArea, 490, 0, "taller than the work area: top edge"},
      {{500, 500, 801, 601}, {0, 0, 100, 100}, 0, 0, "odd size, clamped at the origin"},
  };
  for (const Row& row : rows) {
    ScreenPoint origin = CentredOrigin(row.window, row.reference, workArea);
    EXPECT_EQ(row.x, origin.x) << row.shows;
    EXPECT_EQ(row.y, origin.y) << row.shows;
  }
}

TEST(CentredOrigin, WorkAreaOfASecondMonitorWithNegativeCoordinates) {
  const ScreenRect workArea{-1920, 0, 0, 1040};
  ScreenPoint origin = CentredOrigin({0, 0, 320, 80}, workArea, workArea);
  EXPECT_EQ(-1120, origin.x);
  EXPECT_EQ(480, origin.y);
}

TEST(CentredOrigin, HugeCoordinatesDoNotOverflow) {
  const ScreenRect workArea{2147480000, 2147480000, 2147483000, 2147483000};
  ScreenPoint origin = CentredOrigin({0, 0, 1000, 1000}, workArea, workArea);
  EXPECT_EQ(2147481000, origin.x);
  EXPECT_EQ(2147481000, origin.y);
}

}  // namespace
