#include "common/window_centring.h"

namespace {

// One axis: centre a span of `size` over [referenceStart, referenceEnd), then keep it within
// [areaStart, areaEnd).
int CentredStart(int size, int referenceStart, int referenceEnd, int areaStart, int areaEnd) {
  // Midpoints in 64 bits: screen coordinates near the int limits must not overflow.
  long long start = (static_cast<long long>(referenceStart) + referenceEnd) / 2 - size / 2;
  if (static_cast<long long>(areaEnd) - areaStart < size) return areaStart;
  if (start + size > areaEnd) start = static_cast<long long>(areaEnd) - size;
  if (start < areaStart) start = areaStart;
  return static_cast<int>(start);
}

}  // namespace

ScreenPoint CentredOrigin(const ScreenRect& window, const ScreenRect& reference,
                          const ScreenRect& workArea) {
  int width = window.right - window.left;
  int height = window.bottom - window.top;
  ScreenPoint origin;
  origin.x = CentredStart(width, reference.left, reference.right, workArea.left, workArea.right);
  origin.y = CentredStart(height, reference.top, reference.bottom, workArea.top, workArea.bottom);
  return origin;
}
