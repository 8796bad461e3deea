#include "msgbox/title_strip_gradient.h"

namespace {

int Channel(int from, int to, int column, int width) {
  return from - (column * (from - to)) / width;
}

}  // namespace

RgbColor GradientColumnColor(RgbColor from, RgbColor to, int column, int width) {
  if (width <= 0) return from;
  return {Channel(from.red, to.red, column, width), Channel(from.green, to.green, column, width),
          Channel(from.blue, to.blue, column, width)};
}
