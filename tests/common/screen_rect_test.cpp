// Centring the box and keeping it inside the work area.
#include "common/screen_rect.h"

#include <gtest/gtest.h>

namespace {

const ScreenRect kWorkArea = {0, 0, 1280, 994};

TEST(ScreenRect, CentresOverTheReference) {
  EXPECT_EQ((ScreenRect{515, 426, 765, 568}), CenterRectOver(kWorkArea, 250, 142));
  // Odd sizes and negative coordinates: each half truncates toward zero.
  EXPECT_EQ((ScreenRect{-125, -71, 126, 72}), CenterRectOver({-101, -50, 100, 51}, 251, 143));
  EXPECT_EQ((ScreenRect{-1100, -71, -850, 71}), CenterRectOver({-1600, -71, -350, 71}, 250, 142));
}

TEST(ScreenRect, ClampMovesARectBackInsideAcrossTheEdgeItCrosses) {
  struct Row {
    ScreenRect rect;
    ScreenRect expected;
    const char* what;
  };
  const Row rows[] = {
      {{100, 100, 350, 242}, {100, 100, 350, 242}, "inside: unchanged"},
      {{1200, 100, 1450, 242}, {1030, 100, 1280, 242}, "past the right edge"},
      {{-40, 100, 210, 242}, {0, 100, 250, 242}, "past the left edge"},
      {{100, 900, 350, 1042}, {100, 852, 350, 994}, "past the bottom"},
      {{100, -10, 350, 132}, {100, 0, 350, 142}, "past the top"},
      {{-40, -10, 210, 132}, {0, 0, 250, 142}, "past a corner"},
      {{0, 0, 1280, 994}, {0, 0, 1280, 994}, "exactly the work area"},
  };
  for (const Row& row : rows) EXPECT_EQ(row.expected, ClampRectToArea(row.rect, kWorkArea)) << row.what;
}

TEST(ScreenRect, RectWiderThanTheWorkAreaLandsAtItsLeftEdge) {
  const ScreenRect wide = CenterRectOver(kWorkArea, 1590, 142);
  const ScreenRect placed = ClampRectToArea(wide, kWorkArea);
  EXPECT_EQ(0, placed.left);
  EXPECT_EQ(1280, placed.right);
  EXPECT_EQ(wide.top, placed.top);
  const ScreenRect tall = ClampRectToArea({300, -500, 550, 1500}, kWorkArea);
  EXPECT_EQ(0, tall.top);
  EXPECT_EQ(300, tall.left);
}

TEST(ScreenRect, WorkAreaAwayFromTheOrigin) {
  const ScreenRect second = {1280, 24, 2560, 1024};
  EXPECT_EQ((ScreenRect{1280, 24, 1530, 166}), ClampRectToArea({1000, 0, 1250, 142}, second));
  EXPECT_EQ((ScreenRect{1280, 24, 2560, 166}), ClampRectToArea({1000, 24, 3000, 166}, second));
}

}  // namespace
