// Rectangle arithmetic for placing windows on the screen (the message box, the progress
// dialog): centring over a reference rectangle and keeping the result inside a work area.
// Portable; the Windows side supplies the window, owner and monitor rectangles.
#pragma once

struct ScreenRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  int width() const { return right - left; }
  int height() const { return bottom - top; }
};

inline bool operator==(const ScreenRect& a, const ScreenRect& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

struct ScreenPoint {
  int x = 0;
  int y = 0;
};

// A width x height rectangle centred over `reference` (integer division toward zero; the
// midpoint is taken in 64 bits, so coordinates near the int limits do not overflow).
ScreenRect CenterRectOver(const ScreenRect& reference, int width, int height);

// Moves `rect` into `area`, each axis separately: a rectangle no larger than the area is
// shifted back inside across the edge it sticks out of (right/bottom checked first); a larger
// one takes the area's edges on that axis, so its left (top) edge lies on the area's.
ScreenRect ClampRectToArea(ScreenRect rect, const ScreenRect& area);

// Top-left corner of `window` centred over `reference` and kept inside `workArea`: a window
// wider (or taller) than the work area is aligned with its left (or top) edge, so its caption
// stays reachable.
ScreenPoint CentredOrigin(const ScreenRect& window, const ScreenRect& reference,
                          const ScreenRect& workArea);
