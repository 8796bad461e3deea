#include "common/screen_rect.h"

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

int CentredStart(int referenceStart, int referenceEnd, int size) {
  return static_cast<int>((static_cast<long long>(referenceStart) + referenceEnd) / 2 - size / 2);
}

}  // namespace

ScreenRect CenterRectOver(const ScreenRect& reference, int width, int height) {
  ScreenRect rect;
  rect.left = CentredStart(reference.left, reference.right, width);
  rect.top = CentredStart(reference.top, reference.bottom, height);
  rect.right = rect.left + width;
  rect.bottom = rect.top + height;
  return rect;
}

ScreenRect ClampRectToArea(ScreenRect rect, const ScreenRect& area) {
  ClampAxis(rect.left, rect.right, area.left, area.right);
  ClampAxis(rect.top, rect.bottom, area.top, area.bottom);
  return rect;
}

ScreenPoint CentredOrigin(const ScreenRect& window, const ScreenRect& reference,
                          const ScreenRect& workArea) {
  const ScreenRect placed = ClampRectToArea(
      CenterRectOver(reference, window.right - window.left, window.bottom - window.top), workArea);
  ScreenPoint origin;
  origin.x = placed.left;
  origin.y = placed.top;
  return origin;
}
