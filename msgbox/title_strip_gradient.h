// Colours of the title strip's horizontal ramp, column by column. Portable.
#pragma once

struct RgbColor {
  int red = 0;
  int green = 0;
  int blue = 0;
};

inline bool operator==(const RgbColor& a, const RgbColor& b) {
  return a.red == b.red && a.green == b.green && a.blue == b.blue;
}

// The colour of column `column` (0 .. width - 1) of a ramp `width` columns wide: per channel
// from - column * (from - to) / width with truncating division, so the last column stays one
// step short of `to`. `width` must be positive.
RgbColor GradientColumnColor(RgbColor from, RgbColor to, int column, int width);
