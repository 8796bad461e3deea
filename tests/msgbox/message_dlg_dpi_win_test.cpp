// A box told it moved to a monitor of another DPI (WM_DPICHANGED, as the system sends it to a
// per-monitor aware window): it lays itself out at that DPI where the system suggests, keeps
// what the user did, and comes back to its 96-DPI shape on the way back.
#include <gtest/gtest.h>
#include <windows.h>

#include "msgbox/message_dlg_win.h"
#include "tests/msgbox/box_driver_win.h"
#include "tests/msgbox/gdi_object_count_win.h"

namespace {

struct Shape {
  RECT window{};
  RECT button{};
  LRESULT checked = 0;
  std::string caption;
};

Shape ShapeOf(HWND box) {
  Shape shape;
  ::GetWindowRect(box, &shape.window);
  shape.button = ItemRect(box, IDC_MD_BTN1);
  shape.checked = ::SendMessageA(::GetDlgItem(box, IDC_MD_CHECK), BM_GETCHECK, 0, 0);
  shape.caption = WindowText(box);
  return shape;
}

int Width(const RECT& rect) {
  return rect.right - rect.left;
}
int Height(const RECT& rect) {
  return rect.bottom - rect.top;
}

void MoveToDpi(HWND box, int dpi, int left, int top) {
  RECT suggested = {left, top, left + 400, top + 300};  // only the corner is taken
  ::SendMessageA(box, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
}

struct RoundTrip {
  Shape at96, at144, back;
  BoxOutcome outcome;
  int checkState = 0;
};

// A box with a check box, clicked, moved to 144 DPI and back to 96, then closed with OK.
RoundTrip MoveThereAndBack() {
  RoundTrip trip;
  int& checkState = trip.checkState;
  Shape &at96 = trip.at96, &at144 = trip.at144, &back = trip.back;
  const char* checkText = "Do not show again";
  trip.outcome = RunBox(
      [&] {
        return ShowMessageDlg(nullptr, "Moved between monitors", "ZU Launcher", MB_OKCANCEL,
                              MDF_CHECKBOX, reinterpret_cast<LPARAM>(checkText), nullptr,
                              &checkState);
      },
      [&](HWND box, DWORD) {
        ::SendMessageA(::GetDlgItem(box, IDC_MD_CHECK), BM_CLICK, 0, 0);
        at96 = ShapeOf(box);
        MoveToDpi(box, 144, 40, 30);
        at144 = ShapeOf(box);
        MoveToDpi(box, 96, 60, 50);
        back = ShapeOf(box);
        ::SendMessageA(::GetDlgItem(box, IDC_MD_BTN1), BM_CLICK, 0, 0);
      });
  return trip;
}

TEST(MessageDlgDpi, RelaidOutAtTheNewDpiAndBack) {
  ASSERT_EQ(96, ::GetDeviceCaps(::GetDC(nullptr), LOGPIXELSY)) << "run at 100 %";
  const RoundTrip trip = MoveThereAndBack();
  const BoxOutcome& outcome = trip.outcome;
  const Shape &at96 = trip.at96, &at144 = trip.at144, &back = trip.back;
  const int checkState = trip.checkState;
  ASSERT_TRUE(outcome.found);
  EXPECT_EQ(IDOK, outcome.result);
  EXPECT_EQ(1, checkState);

  EXPECT_EQ(40, at144.window.left) << "placed where the system suggested";
  EXPECT_EQ(30, at144.window.top);
  EXPECT_GE(Width(at144.window) * 100, Width(at96.window) * 140) << "about half as wide again";
  EXPECT_LE(Width(at144.window) * 100, Width(at96.window) * 160);
  EXPECT_EQ(38, Height(at144.button)) << "25 pixels at 96 DPI";
  EXPECT_EQ(BST_CHECKED, at144.checked) << "the user's click survives the new layout";
  EXPECT_EQ(at96.caption, at144.caption);

  EXPECT_EQ(60, back.window.left);
  EXPECT_EQ(Width(at96.window), Width(back.window));
  EXPECT_EQ(Height(at96.window), Height(back.window));
  EXPECT_EQ(25, Height(back.button));
  EXPECT_EQ(BST_CHECKED, back.checked);
}

TEST(MessageDlgDpi, EachNewDpiReleasesTheFontIconAndStripsOfTheLastOne) {
  // The first boxes fill Wine's own caches (see MessageDlgResources): count after them. Each
  // trip makes a font, an icon and four strip bitmaps at 144 DPI and lets them go at 96.
  for (int i = 0; i < 5; ++i) MoveThereAndBack();
  long before = 0, after = 0;
  ASSERT_TRUE(CountGdiObjects(before));
  for (int i = 0; i < 20; ++i) ASSERT_TRUE(MoveThereAndBack().outcome.found);
  ASSERT_TRUE(CountGdiObjects(after));
  EXPECT_LT(after - before, 20) << "a trip leaks GDI objects";
}

}  // namespace
