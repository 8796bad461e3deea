#include "msgbox/screen_rect.h"

namespace {

// One axis of ClampRectToArea: [low, high) into [areaLow, areaHigh).
void ClampAxis(int& low, int& high, int areaLow, int areaHigh) {
  if (high - low <= areaHigh - areaLow) {
    if (high > areaHigh) {
      low -= high - areaHigh;
      high = areaHigh;
    } else if (low < areaLow) {
      high += areaLow - low;
      low = areaLow;
    }
  } else {
    low = areaLow;
    high = areaHigh;
  }
}

}  // namespace

ScreenRect CenterRectOver(const ScreenRect& reference, int width, int height) {
  ScreenRect rect;
  rect.left = (reference.left + reference.right) / 2 - width / 2;
  rect.top = (reference.top + reference.bottom) / 2 - height / 2;
  rect.right = rect.left + width;
  rect.bottom = rect.top + height;
  return rect;
}

ScreenRect ClampRectToArea(ScreenRect rect, const ScreenRect& area) {
  ClampAxis(rect.left, rect.right, area.left, area.right);
  ClampAxis(rect.top, rect.bottom, area.top, area.bottom);
  return rect;
}
