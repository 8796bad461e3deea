// Real boxes under Wine and Xvfb: the title strip as the screen shows it, active and
// inactive, read back through the screen DC.
#include <windows.h>

#include <gtest/gtest.h>

#include "common/unique_handle_win.h"
#include "msgbox/message_dlg_win.h"
#include "tests/msgbox/box_driver_win.h"

namespace {

COLORREF ScreenPixel(POINT point) {
  WindowDc screen(nullptr);
  return ::GetPixel(screen.get(), point.x, point.y);
}

// Waits until the screen shows `expected` at `point`; returns what it showed last.
COLORREF WaitForPixel(POINT point, COLORREF expected, DWORD timeoutMs = 2000) {
  const DWORD start = ::GetTickCount();
  COLORREF seen = ScreenPixel(point);
  while (seen != expected && ::GetTickCount() - start < timeoutMs) {
    ::Sleep(20);
    seen = ScreenPixel(point);
  }
  return seen;
}

std::string Hex(COLORREF color) {
  char text[16];
  std::snprintf(text, sizeof(text), "%06lX", static_cast<unsigned long>(color));
  return text;
}

// The strip's first column at mid-height and its last column, in screen coordinates. The
// strip of a 250-pixel box is 235 columns wide from client x 5.
struct StripPoints {
  POINT first;
  POINT last;
};

StripPoints StripOf(HWND box) {
  StripPoints points = {{5, 6}, {5 + 234, 15}};
  ::ClientToScreen(box, &points.first);
  ::ClientToScreen(box, &points.last);
  return points;
}

// The last column is one step short of the end colour: 234 / 235 of the way.
COLORREF LastColumn(COLORREF from, COLORREF to) {
  auto channel = [](int f, int t) { return f - (234 * (f - t)) / 235; };
  return RGB(channel(GetRValue(from), GetRValue(to)), channel(GetGValue(from), GetGValue(to)),
             channel(GetBValue(from), GetBValue(to)));
}

TEST(MessageDlgTitleStrip, FollowsActivationInBothDirections) {
  const COLORREF activeFirst = RGB(0, 0, 100);
  const COLORREF activeLast = LastColumn(RGB(0, 0, 100), RGB(140, 161, 255));
  const COLORREF inactiveFirst = ::GetSysColor(COLOR_INACTIVECAPTION);
  const COLORREF inactiveLast =
      LastColumn(::GetSysColor(COLOR_INACTIVECAPTION), ::GetSysColor(COLOR_GRADIENTINACTIVECAPTION));
  ASSERT_NE(activeFirst, inactiveFirst);

  struct Seen {
    bool foreground = false;
    COLORREF active[2] = {}, inactive[2] = {}, activeAgain[2] = {};
  } seen;
  BoxOutcome outcome = RunBox(
      [] { return ShowPlainBox("Strip", MB_OK); },
      [&](HWND box, DWORD) {
        seen.foreground = ::GetForegroundWindow() == box;
        const StripPoints strip = StripOf(box);
        seen.active[0] = WaitForPixel(strip.first, activeFirst);
        seen.active[1] = ScreenPixel(strip.last);

        // Another window takes the activation: the box shows its inactive strip.
        HWND other = ::CreateWindowExA(0, "STATIC", "Other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50,
                                       nullptr, nullptr, nullptr, nullptr);
        ::SetForegroundWindow(other);
        seen.inactive[0] = WaitForPixel(strip.first, inactiveFirst);
        seen.inactive[1] = ScreenPixel(strip.last);

        ::SetForegroundWindow(box);
        ::DestroyWindow(other);
        seen.activeAgain[0] = WaitForPixel(strip.first, activeFirst);
        seen.activeAgain[1] = ScreenPixel(strip.last);
        ::PostMessageA(box, WM_ZMESSAGEBOX_CLOSE, 0, 0);
      });
  ASSERT_TRUE(outcome.found);
  EXPECT_TRUE(seen.foreground);
  EXPECT_EQ(Hex(activeFirst), Hex(seen.active[0]));
  EXPECT_EQ(Hex(activeLast), Hex(seen.active[1]));
  EXPECT_EQ(Hex(inactiveFirst), Hex(seen.inactive[0]));
  EXPECT_EQ(Hex(inactiveLast), Hex(seen.inactive[1]));
  EXPECT_EQ(Hex(activeFirst), Hex(seen.activeAgain[0]));
  EXPECT_EQ(Hex(activeLast), Hex(seen.activeAgain[1]));
}

TEST(MessageDlgTitleStrip, SystemColourChangeDoesNotAlterAnOpenStrip) {
  const int element = COLOR_INACTIVECAPTION;
  const COLORREF original = ::GetSysColor(element);
  const COLORREF changed = original ^ 0x00FF00FF;
  COLORREF before = 0, after = 0, systemAfter = 0;
  BoxOutcome outcome = RunBox(
      [] { return ShowPlainBox("Strip", MB_OK); },
      [&](HWND box, DWORD) {
        const StripPoints strip = StripOf(box);
        HWND other = ::CreateWindowExA(0, "STATIC", "Other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50,
                                       nullptr, nullptr, nullptr, nullptr);
        ::SetForegroundWindow(other);
        before = WaitForPixel(strip.first, original);
        ::SetSysColors(1, &element, &changed);
        systemAfter = ::GetSysColor(element);
        ::RedrawWindow(box, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
        ::Sleep(200);
        after = ScreenPixel(strip.first);
        ::SetSysColors(1, &element, &original);
        ::DestroyWindow(other);
        ::PostMessageA(box, WM_ZMESSAGEBOX_CLOSE, 0, 0);
      });
  ASSERT_TRUE(outcome.found);
  ASSERT_EQ(Hex(changed), Hex(systemAfter)) << "the colour change took effect";
  EXPECT_EQ(Hex(original), Hex(before));
  EXPECT_EQ(Hex(original), Hex(after)) << "the strip keeps the colours it was drawn with";
  EXPECT_EQ(Hex(original), Hex(::GetSysColor(element))) << "restored";
}

}  // namespace
