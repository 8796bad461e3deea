// Where a window goes when it is centred over a reference rectangle (its owner, or the work
// area when it has none) and kept inside the work area. Pure arithmetic, portable; the dialog
// helper measures the rectangles and moves the window.
#pragma once

struct ScreenRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

struct ScreenPoint {
  int x = 0;
  int y = 0;
};

// Top-left corner that centres `window` over `reference`, then shifts it back inside
// `workArea`. A window wider (or taller) than the work area is aligned with the work area's
// left (or top) edge, so its caption stays reachable.
ScreenPoint CentredOrigin(const ScreenRect& window, const ScreenRect& reference,
                          const ScreenRect& workArea);
