// Real boxes under Wine and Xvfb: the window the layout builds, its place on the screen, the
// owner, the title strip's two states, the drag hit test and the template title.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "common/unique_handle_win.h"
#include "msgbox/message_dlg_win.h"
#include "tests/msgbox/box_driver_win.h"

namespace {

struct BoxGeometry {
  RECT window{};
  RECT frame{}, icon{}, text{}, title{};
  RECT buttons[3]{};
  bool titleVisible = true;
};

BoxGeometry GeometryOfBox(HWND box) {
  BoxGeometry geometry;
  ::GetWindowRect(box, &geometry.window);
  geometry.frame = ItemRect(box, IDC_MD_FRAME);
  geometry.icon = ItemRect(box, IDC_MD_ICON);
  geometry.text = ItemRect(box, IDC_MD_TEXT);
  geometry.title = ItemRect(box, IDC_MD_TITLE);
  geometry.titleVisible = ::IsWindowVisible(::GetDlgItem(box, IDC_MD_TITLE)) != FALSE;
  const int ids[3] = {IDC_MD_BTN1, IDC_MD_BTN2, IDC_MD_BTN3};
  for (int i = 0; i < 3; ++i) geometry.buttons[i] = ItemRect(box, ids[i]);
  return geometry;
}

BoxGeometry GeometryOfPlainBox(const std::string& text, UINT type, UINT options = 0,
                               HWND owner = nullptr) {
  BoxGeometry geometry;
  BoxOutcome outcome = RunBox([&] { return ShowPlainBox(text, type, options, 0, owner); },
                              [&](HWND box, DWORD) {
                                geometry = GeometryOfBox(box);
                                ::PostMessageA(box, WM_ZMESSAGEBOX_CLOSE, 0, 0);
                              });
  EXPECT_TRUE(outcome.found);
  EXPECT_FALSE(outcome.forced);
  return geometry;
}

int Width(const RECT& rect) { return rect.right - rect.left; }
int Height(const RECT& rect) { return rect.bottom - rect.top; }

void ExpectRect(const RECT& rect, int left, int top, int right, int bottom, const char* what) {
  EXPECT_EQ(left, rect.left) << what;
  EXPECT_EQ(top, rect.top) << what;
  EXPECT_EQ(right, rect.right) << what;
  EXPECT_EQ(bottom, rect.bottom) << what;
}

// Font metrics of the box's font, as the layout measures them.
struct GuiFont {
  int height = 0;
  int Width(const std::string& text) const {
    WindowDc screen(nullptr);
    SelectGuard font(screen.get(), ::GetStockObject(DEFAULT_GUI_FONT));
    SIZE size{};
    ::GetTextExtentPoint32A(screen.get(), text.data(), static_cast<int>(text.size()), &size);
    return size.cx;
  }
};

GuiFont DefaultGuiFont() {
  WindowDc screen(nullptr);
  SelectGuard font(screen.get(), ::GetStockObject(DEFAULT_GUI_FONT));
  TEXTMETRICA metrics{};
  ::GetTextMetricsA(screen.get(), &metrics);
  return {metrics.tmHeight};
}

RECT PrimaryWorkArea() {
  RECT area{};
  ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
  return area;
}

// An owner window of the test thread.
class OwnerWindow {
 public:
  OwnerWindow(int x, int y, int width, int height, DWORD extraStyle)
      : m_window(::CreateWindowExA(0, "STATIC", "Owner", WS_POPUP | WS_BORDER | extraStyle, x, y,
                                   width, height, nullptr, nullptr, nullptr, nullptr)) {}
  ~OwnerWindow() { ::DestroyWindow(m_window); }
  HWND get() const { return m_window; }

 private:
  HWND m_window;
};

TEST(MessageDlgWindow, NarrowOkBoxHasTheLaidOutControls) {
  ASSERT_LE(DefaultGuiFont().height, 32);
  const BoxGeometry box = GeometryOfPlainBox("Short text", MB_OK);
  EXPECT_EQ(250, Width(box.window));
  EXPECT_EQ(142, Height(box.window));
  ExpectRect(box.buttons[0], 162, 107, 232, 132, "BTN1");
  ExpectRect(box.frame, 7, 30, 237, 94, "frame");
  ExpectRect(box.icon, 17, 50, 49, 82, "icon");
  ExpectRect(box.title, 5, 5, 240, 25, "title placeholder");
  EXPECT_FALSE(box.titleVisible) << "only the placeholder's rectangle is used";
  const int textHeight = DefaultGuiFont().height;
  ExpectRect(box.text, 59, 30 + (72 - textHeight) / 2, 59 + 168,
             30 + (72 - textHeight) / 2 + textHeight, "text");
}

TEST(MessageDlgWindow, YesNoAndNoButtonsBoxes) {
  const BoxGeometry yesNo = GeometryOfPlainBox("Short text", MB_YESNO);
  ExpectRect(yesNo.buttons[0], 87, 107, 157, 132, "BTN1");
  ExpectRect(yesNo.buttons[1], 162, 107, 232, 132, "BTN2");
  const BoxGeometry noButtons = GeometryOfPlainBox("Short text", MB_OK, MDF_NOBUTTONS);
  EXPECT_EQ(250, Width(noButtons.window));
  EXPECT_EQ(117, Height(noButtons.window));
}

TEST(MessageDlgWindow, MultiLineTextGrowsTheBox) {
  const GuiFont font = DefaultGuiFont();
  const std::string wideLine = "A rather longer second line of text, wider than the minimum";
  const std::string text = "First\n\n" + wideLine + "\nlast";
  const BoxGeometry box = GeometryOfPlainBox(text, MB_OK);
  const int textHeight = 4 * font.height;
  const int H = textHeight > 32 ? textHeight : 32;
  const int W = font.Width(wideLine) + 70 > 230 ? font.Width(wideLine) + 70 : 230;
  EXPECT_EQ(textHeight, Height(box.text)) << "four lines, the empty one included";
  EXPECT_EQ(W + 20, Width(box.window));
  EXPECT_EQ(H + 110, Height(box.window));
}

TEST(MessageDlgWindow, BoxWiderThanTheWorkAreaStartsAtItsLeftEdge) {
  const std::string line(400, 'W');
  const BoxGeometry box = GeometryOfPlainBox(line, MB_OK);
  const RECT area = PrimaryWorkArea();
  EXPECT_EQ(DefaultGuiFont().Width(line) + 90, Width(box.window)) << "never wrapped";
  ASSERT_GT(Width(box.window), Width(area));
  EXPECT_EQ(area.left, box.window.left);
}

TEST(MessageDlgWindow, CentredInTheWorkAreaWithoutAVisibleOwner) {
  const RECT area = PrimaryWorkArea();
  const int left = (area.left + area.right) / 2 - 125;
  const int top = (area.top + area.bottom) / 2 - 71;
  const BoxGeometry unowned = GeometryOfPlainBox("Centred", MB_OK);
  ExpectRect(unowned.window, left, top, left + 250, top + 142, "no owner");
  OwnerWindow hidden(100, 100, 300, 200, 0);
  const BoxGeometry hiddenOwner = GeometryOfPlainBox("Centred", MB_OK, 0, hidden.get());
  ExpectRect(hiddenOwner.window, left, top, left + 250, top + 142, "hidden owner");
  OwnerWindow minimised(100, 100, 300, 200, WS_VISIBLE | WS_MINIMIZE);
  ASSERT_TRUE(::GetWindowLongA(minimised.get(), GWL_STYLE) & WS_MINIMIZE);
  const BoxGeometry minimisedOwner = GeometryOfPlainBox("Centred", MB_OK, 0, minimised.get());
  ExpectRect(minimisedOwner.window, left, top, left + 250, top + 142, "minimised owner");
}

TEST(MessageDlgWindow, OwnerIsDisabledWhileTheBoxIsOpenAndCentresIt) {
  OwnerWindow owner(100, 200, 600, 400, WS_VISIBLE);
  ASSERT_TRUE(::IsWindowEnabled(owner.get()));
  bool enabledWhileOpen = true;
  HWND ownerOfBox = nullptr;
  RECT window{};
  BoxOutcome outcome = RunBox([&] { return ShowPlainBox("Owned", MB_OK, 0, 0, owner.get()); },
                              [&](HWND box, DWORD) {
                                enabledWhileOpen = ::IsWindowEnabled(owner.get()) != FALSE;
                                ownerOfBox = ::GetWindow(box, GW_OWNER);
                                ::GetWindowRect(box, &window);
                                ::PostMessageA(box, WM_ZMESSAGEBOX_CLOSE, 0, 0);
                              });
  ASSERT_TRUE(outcome.found);
  EXPECT_FALSE(enabledWhileOpen);
  EXPECT_EQ(owner.get(), ownerOfBox);
  EXPECT_TRUE(::IsWindowEnabled(owner.get())) << "enabled again after the box";
  // (100 + 700) / 2 - 125 and (200 + 600) / 2 - 71.
  ExpectRect(window, 275, 329, 525, 471, "centred over the owner");
}

TEST(MessageDlgWindow, BoxCentredOverAnOwnerAtTheScreenEdgeStaysInTheWorkArea) {
  const RECT area = PrimaryWorkArea();
  OwnerWindow owner(area.right - 150, area.bottom - 100, 300, 200, WS_VISIBLE);
  const BoxGeometry box = GeometryOfPlainBox("Edge", MB_OK, 0, owner.get());
  ExpectRect(box.window, area.right - 250, area.bottom - 142, area.right, area.bottom,
             "pushed back inside across the right and bottom edges");
}

TEST(MessageDlgWindow, IconComesFromTheResourcesSet) {
  HINSTANCE module = ::GetModuleHandleA(nullptr);
  struct Row {
    int iconId;
    HICON expected;
  };
  const Row rows[] = {
      {102, ::LoadIconA(module, MAKEINTRESOURCEA(102))},  // the default
      {101, ::LoadIconA(module, MAKEINTRESOURCEA(101))},  // what the launcher's entry sets
      {999, nullptr},                                     // no such icon: the static stays empty
  };
  ASSERT_NE(nullptr, rows[0].expected);
  ASSERT_NE(nullptr, rows[1].expected);
  ASSERT_NE(rows[0].expected, rows[1].expected);
  bool first = true;
  for (const Row& row : rows) {
    if (!first) SetMessageDlgResources(module, row.iconId);
    first = false;
    HICON shown = reinterpret_cast<HICON>(-1);
    BoxOutcome outcome = RunBox([] { return ShowPlainBox("Icon", MB_OK); },
                                [&](HWND box, DWORD) {
                                  shown = reinterpret_cast<HICON>(::SendMessageA(
                                      ::GetDlgItem(box, IDC_MD_ICON), STM_GETICON, 0, 0));
                                  ::SendMessageA(::GetDlgItem(box, IDC_MD_BTN1), BM_CLICK, 0, 0);
                                });
    ASSERT_TRUE(outcome.found) << row.iconId;
    EXPECT_EQ(IDOK, outcome.result) << row.iconId;
    EXPECT_EQ(row.expected, shown) << row.iconId;
  }
  SetMessageDlgResources(module, 102);
}

TEST(MessageDlgWindow, TemplateTitleIsTheCaption) {
  struct Row {
    std::string caption;
    std::wstring title;
  };
  const Row rows[] = {
      {"ZU Launcher", L"ZU Launcher"},
      {"", L""},
      {std::string(150, 'x'), std::wstring(99, L'x')},  // 100 units with the terminator
  };
  for (const Row& row : rows) {
    std::wstring title;
    BoxOutcome outcome = RunBox(
        [&] { return ShowMessageDlg(nullptr, "Title", row.caption, MB_OK, 0, 0, nullptr, nullptr); },
        [&](HWND box, DWORD) {
          wchar_t text[300] = {};
          ::GetWindowTextW(box, text, 300);
          title = text;
          ::PostMessageA(box, WM_ZMESSAGEBOX_CLOSE, 0, 0);
        });
    ASSERT_TRUE(outcome.found);
    EXPECT_TRUE(title == row.title) << row.caption;
  }
}

// Real mouse input, as the X display would deliver it: absolute moves, press and release.
void SendMouse(POINT point, DWORD flags) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = point.x * 65535 / (::GetSystemMetrics(SM_CXSCREEN) - 1);
  input.mi.dy = point.y * 65535 / (::GetSystemMetrics(SM_CYSCREEN) - 1);
  input.mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE | flags;
  ::SendInput(1, &input, sizeof(input));
}

// Presses at `start`, moves by (40, 30) in ten steps and releases.
void DragBy40And30(POINT start) {
  SendMouse(start, 0);
  ::Sleep(50);
  SendMouse(start, MOUSEEVENTF_LEFTDOWN);
  ::Sleep(50);
  for (int step = 1; step <= 10; ++step) {
    SendMouse({start.x + 4 * step, start.y + 3 * step}, 0);
    ::Sleep(20);
  }
  SendMouse({start.x + 40, start.y + 30}, MOUSEEVENTF_LEFTUP);
  ::Sleep(200);
}

TEST(MessageDlgWindow, WholeSurfaceDragsTheBoxButButtonsStayClickable) {
  struct Answers {
    LRESULT strip = 0, text = 0, frame = 0, outside = 0, buttonOwn = 0;
    HWND atButton = nullptr, button = nullptr;
  } answers;
  BoxOutcome outcome = RunBox(
      [] { return ShowPlainBox("Drag me", MB_YESNO); },
      [&](HWND box, DWORD) {
        RECT window{};
        ::GetWindowRect(box, &window);
        POINT strip = {20, 15};
        POINT text = {70, 62};
        POINT frame = {8, 60};
        ::ClientToScreen(box, &strip);
        ::ClientToScreen(box, &text);
        ::ClientToScreen(box, &frame);
        auto hitTest = [](HWND window, POINT point) {
          return ::SendMessageA(window, WM_NCHITTEST, 0, MAKELPARAM(point.x, point.y));
        };
        answers.strip = hitTest(box, strip);
        answers.text = hitTest(box, text);
        answers.frame = hitTest(box, frame);
        answers.outside = hitTest(box, {window.right + 50, window.bottom + 50});
        answers.button = ::GetDlgItem(box, IDC_MD_BTN1);
        RECT button{};
        ::GetWindowRect(answers.button, &button);
        POINT middle = {(button.left + button.right) / 2, (button.top + button.bottom) / 2};
        answers.buttonOwn = hitTest(answers.button, middle);
        answers.atButton = ::WindowFromPoint(middle);
        ::PostMessageA(box, WM_ZMESSAGEBOX_CLOSE, 0, 0);
      });
  ASSERT_TRUE(outcome.found);
  EXPECT_EQ(HTCAPTION, answers.strip);
  EXPECT_EQ(HTCAPTION, answers.text);
  EXPECT_EQ(HTCAPTION, answers.frame);
  EXPECT_NE(HTCAPTION, answers.outside);
  EXPECT_EQ(HTCLIENT, answers.buttonOwn);
  EXPECT_EQ(answers.button, answers.atButton);
}

TEST(MessageDlgWindow, MouseDragOnTheSurfaceMovesTheBox) {
  struct Row {
    POINT clientStart;
    bool moves;
    const char* what;
  };
  const Row rows[] = {
      {{20, 15}, true, "title strip"},
      {{70, 62}, true, "text"},
      {{30, 65}, true, "icon"},
      {{195, 119}, false, "BTN1: pressed, released off it, no click"},
  };
  for (const Row& row : rows) {
    RECT before{}, after{};
    bool openAfterDrag = false;
    BoxOutcome outcome = RunBox([] { return ShowPlainBox("Drag me", MB_OK); },
                                [&](HWND box, DWORD) {
                                  ::Sleep(100);
                                  ::GetWindowRect(box, &before);
                                  POINT start = row.clientStart;
                                  ::ClientToScreen(box, &start);
                                  DragBy40And30(start);
                                  ::GetWindowRect(box, &after);
                                  openAfterDrag = ::IsWindowVisible(box) != FALSE;
                                  ::PostMessageA(box, WM_ZMESSAGEBOX_CLOSE, 0, 0);
                                });
    ASSERT_TRUE(outcome.found) << row.what;
    EXPECT_TRUE(openAfterDrag) << row.what;
    EXPECT_EQ(before.left + (row.moves ? 40 : 0), after.left) << row.what;
    EXPECT_EQ(before.top + (row.moves ? 30 : 0), after.top) << row.what;
  }
}

}  // namespace
