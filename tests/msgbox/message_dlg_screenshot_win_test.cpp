// Screenshots of real boxes, saved as PNG files in the build tree's "screenshots" folder:
// an MB_OK box in Russian, an MB_YESNO box with Korean captions and a countdown box. Each
// capture is checked to show the box's active title strip before it is saved.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "msgbox/message_dlg_win.h"
#include "res/load_text.h"
#include "tests/msgbox/box_driver_win.h"
#include "tests/msgbox/screen_capture_win.h"

namespace {

constexpr COLORREF kActiveStripStart = RGB(0, 0, 100);

struct Shot {
  bool captured = false;
  COLORREF stripStart = 0;
  std::string path;
  std::wstring title;
};

// Captures the open box once its strip is painted, saves it, then closes the box.
Shot CaptureBox(HWND box, const std::string& name) {
  Shot shot;
  WindowCapture capture;
  const DWORD start = ::GetTickCount();
  do {
    ::Sleep(50);
    shot.captured = CaptureWindow(box, capture);
    if (shot.captured) shot.stripStart = capture.ClientPixel(5, 6);
  } while (shot.stripStart != kActiveStripStart && ::GetTickCount() - start < 2000);
  if (shot.captured) shot.path = SaveCapture(capture, name);
  wchar_t title[200] = {};
  ::GetWindowTextW(box, title, 200);
  shot.title = title;
  return shot;
}

void ExpectSaved(const Shot& shot) {
  ASSERT_TRUE(shot.captured);
  EXPECT_EQ(kActiveStripStart, shot.stripStart) << "the capture shows the box's active strip";
  ASSERT_FALSE(shot.path.empty());
  std::printf("screenshot: %s\n", shot.path.c_str());
  WIN32_FILE_ATTRIBUTE_DATA file{};
  ASSERT_TRUE(::GetFileAttributesExA(shot.path.c_str(), GetFileExInfoStandard, &file));
  EXPECT_GT(file.nFileSizeLow, 1000u);
}

TEST(MessageDlgScreenshotCp1251, OkBoxInRussian) {
  ASSERT_EQ(1251u, ::GetACP()) << "run with LC_ALL=ru_RU.UTF-8";
  const std::string text = LoadText(TextId::TransferErrorBox);  // "При передаче файла возникла ошибка."
  const std::string caption = LoadText(TextId::LauncherCaption);
  Shot shot;
  BoxOutcome outcome = RunBox(
      [&] { return ShowMessageDlg(nullptr, text, caption, MB_OK, 0, 0, nullptr, nullptr); },
      [&](HWND box, DWORD) {
        shot = CaptureBox(box, "msgbox_ok_russian.png");
        ::PostMessageA(box, WM_ZMESSAGEBOX_CLOSE, 0, 0);
      });
  ASSERT_TRUE(outcome.found);
  ExpectSaved(shot);
}

TEST(MessageDlgScreenshotCp949, YesNoBoxWithKoreanCaptions) {
  ASSERT_EQ(949u, ::GetACP()) << "run with LC_ALL=ko_KR.UTF-8";
  // "전송을 취소하시겠습니까?" and the caption "설치 프로그램", code page 949.
  const std::string text =
      "\xc0\xfc\xbc\xdb\xc0\xbb\x20\xc3\xeb\xbc\xd2\xc7\xcf\xbd\xc3\xb0\xda\xbd\xc0\xb4\xcf\xb1"
      "\xee\x3f";
  const std::string caption = "\xbc\xb3\xc4\xa1\x20\xc7\xc1\xb7\xce\xb1\xd7\xb7\xa5";
  Shot shot;
  BoxOutcome outcome = RunBox(
      [&] { return ShowMessageDlg(nullptr, text, caption, MB_YESNO, 0, 0, nullptr, nullptr); },
      [&](HWND box, DWORD) {
        shot = CaptureBox(box, "msgbox_yesno_korean.png");
        ::PostMessageA(box, WM_ZMESSAGEBOX_CLOSE, 0, 0);
      });
  ASSERT_TRUE(outcome.found);
  ExpectSaved(shot);
  EXPECT_TRUE(shot.title == L"\uC124\uCE58 \uD504\uB85C\uADF8\uB7A8")
      << "the template title is the caption converted from code page 949";
  EXPECT_EQ(IDYES, outcome.result);
}

TEST(MessageDlgScreenshot, CountdownBox) {
  Shot shot;
  BoxOutcome outcome = RunBox(
      [&] {
        return ShowPlainBox("The update is ready.\nThis box answers No by itself in %d seconds.",
                            MB_YESNO | MB_DEFBUTTON2, MDF_COUNTDOWN, 5);
      },
      [&](HWND box, DWORD) {
        shot = CaptureBox(box, "msgbox_countdown.png");
        ::PostMessageA(box, WM_ZMESSAGEBOX_CLOSE, 0, 0);
      });
  ASSERT_TRUE(outcome.found);
  ExpectSaved(shot);
}

}  // namespace
