// Real boxes under Wine: every GDI object a box creates is released, over a hundred boxes.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>

#include "msgbox/message_dlg_win.h"
#include "tests/msgbox/box_driver_win.h"
#include "tests/msgbox/gdi_object_count_win.h"

namespace {

// One box of each kind the check covers, closed by the close message once it is open.
// `whileOpen` receives the count taken while the box is open.
void ShowAndCloseBox(int index, long* whileOpen) {
  const char* checkText = "Remember";
  int checkState = 0;
  const UINT types[] = {MB_OK, MB_YESNO, MB_YESNOCANCEL | MB_DEFBUTTON3, MB_OKCANCEL};
  const UINT options[] = {0, MDF_CHECKBOX_CHECKED, MDF_NOBUTTONS, MDF_CUSTOMCAPTIONS};
  BoxOutcome outcome = RunBox(
      [&] {
        return ShowMessageDlg(nullptr, "Box number " + std::to_string(index), "Resources",
                              types[index % 4], options[index % 4],
                              reinterpret_cast<LPARAM>(checkText), "One,Two", &checkState);
      },
      [&](HWND box, DWORD) {
        if (whileOpen) CountGdiObjects(*whileOpen);
        ::PostMessageA(box, WM_ZMESSAGEBOX_CLOSE, 0, 0);
      });
  ASSERT_TRUE(outcome.found);
  ASSERT_FALSE(outcome.forced);
}

TEST(MessageDlgResources, CountOfGdiObjectsIsMeaningful) {
  long before = 0, withBitmaps = 0, after = 0;
  const char* method = "";
  ASSERT_TRUE(CountGdiObjects(before, &method)) << "no honest GDI object count available";
  std::printf("GDI objects counted through: %s\n", method);
  HBITMAP bitmaps[5];
  for (HBITMAP& bitmap : bitmaps) bitmap = ::CreateBitmap(4, 4, 1, 32, nullptr);
  ASSERT_TRUE(CountGdiObjects(withBitmaps));
  for (HBITMAP bitmap : bitmaps) ::DeleteObject(bitmap);
  ASSERT_TRUE(CountGdiObjects(after));
  EXPECT_EQ(before + 5, withBitmaps);
  EXPECT_EQ(before, after);
}

TEST(MessageDlgResources, HundredBoxesLeaveNoGdiObjectBehind) {
  // The first boxes fill what Wine keeps for the life of the process: its cache of window
  // DCs and the check box's check-mark bitmaps (about 90 objects, then flat however many
  // boxes follow), and the shared icon. Count after them: a box that leaked would add to
  // the count with every one of the hundred.
  for (int i = 0; i < 40; ++i) ShowAndCloseBox(i, nullptr);
  long before = 0;
  ASSERT_TRUE(CountGdiObjects(before));
  long whileOpen = 0;
  for (int i = 0; i < 100; ++i) ShowAndCloseBox(i, i == 0 ? &whileOpen : nullptr);
  long after = 0;
  ASSERT_TRUE(CountGdiObjects(after));
  std::printf("GDI objects: %ld before, %ld while a box is open, %ld after 100 boxes\n", before,
              whileOpen, after);
  EXPECT_GE(whileOpen, before + 4) << "an open box holds its two memory DCs and two bitmaps";
  // Each of the four kinds of box was shown 25 times: an object leaked by any kind would add
  // at least 25. Wine's window-DC cache may still grow by a few entries of its own when the
  // machine is busy (seen: 115 -> 118), which says nothing about the boxes.
  EXPECT_LT(after - before, 25) << "a box leaks GDI objects";
  EXPECT_GE(after, before);
}

}  // namespace
