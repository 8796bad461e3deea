// Real boxes under Wine: what each way of closing a box answers, per button set.
#include <windows.h>

#include <gtest/gtest.h>

#include "msgbox/message_dlg_win.h"
#include "tests/msgbox/box_driver_win.h"

namespace {

const char* SetName(UINT type) {
  switch (type & 0xF) {
    case MB_OK: return "MB_OK";
    case MB_OKCANCEL: return "MB_OKCANCEL";
    case MB_YESNO: return "MB_YESNO";
    case MB_YESNOCANCEL: return "MB_YESNOCANCEL";
    default: return "other set";
  }
}

TEST(MessageDlgResults, ClickOnEachShownButton) {
  struct Row {
    UINT type;
    int button;
    int expected;
  };
  const Row rows[] = {
      {MB_OK, IDC_MD_BTN1, IDOK},
      {MB_OKCANCEL, IDC_MD_BTN1, IDOK},       {MB_OKCANCEL, IDC_MD_BTN2, IDCANCEL},
      {MB_YESNO, IDC_MD_BTN1, IDYES},         {MB_YESNO, IDC_MD_BTN2, IDNO},
      {MB_YESNOCANCEL, IDC_MD_BTN1, IDYES},   {MB_YESNOCANCEL, IDC_MD_BTN2, IDNO},
      {MB_YESNOCANCEL, IDC_MD_BTN3, IDCANCEL},
  };
  for (const Row& row : rows) {
    bool visible = false;
    BoxOutcome outcome = RunBox([&] { return ShowPlainBox("Click a button", row.type); },
                                [&](HWND box, DWORD) {
                                  HWND button = ::GetDlgItem(box, row.button);
                                  visible = ::IsWindowVisible(button) != FALSE;
                                  ::SendMessageA(button, BM_CLICK, 0, 0);
                                });
    ASSERT_TRUE(outcome.found) << SetName(row.type);
    EXPECT_TRUE(visible) << SetName(row.type) << " button " << row.button;
    EXPECT_FALSE(outcome.forced) << SetName(row.type) << " button " << row.button;
    EXPECT_EQ(row.expected, outcome.result) << SetName(row.type) << " button " << row.button;
  }
}

TEST(MessageDlgResults, CommandsOfHiddenButtonsAndSetsWithoutTable) {
  struct Row {
    UINT type;
    int command;
    int expected;
  };
  const Row rows[] = {
      {MB_OK, IDC_MD_BTN2, IDOK},
      {MB_OK, IDC_MD_BTN3, IDOK},
      {MB_OKCANCEL, IDC_MD_BTN3, IDCANCEL},
      {MB_YESNO, IDC_MD_BTN3, IDNO},
      {MB_ABORTRETRYIGNORE, IDC_MD_BTN2, IDC_MD_BTN2},  // no table: the command id itself
      {MB_ABORTRETRYIGNORE, IDCANCEL, IDCANCEL},
      {MB_RETRYCANCEL, IDC_MD_BTN1, IDC_MD_BTN1},
  };
  for (const Row& row : rows) {
    BoxOutcome outcome = RunBox([&] { return ShowPlainBox("Commands", row.type); },
                                [&](HWND box, DWORD) { PressButton(box, row.command); });
    ASSERT_TRUE(outcome.found);
    EXPECT_FALSE(outcome.forced);
    EXPECT_EQ(row.expected, outcome.result) << SetName(row.type) << " command " << row.command;
  }
}

// What Esc, and the close requests that answer like it, give per button set.
struct EscapeRow {
  UINT type;
  int expected;
};
const EscapeRow kEscapeResults[] = {
    {MB_OK, IDOK}, {MB_OKCANCEL, IDCANCEL}, {MB_YESNOCANCEL, IDCANCEL}, {MB_YESNO, IDNO},
};

TEST(MessageDlgResults, EscapePerButtonSet) {
  for (const EscapeRow& row : kEscapeResults) {
    BoxOutcome outcome = RunBox([&] { return ShowPlainBox("Press Esc", row.type); },
                                [&](HWND box, DWORD thread) {
                                  HWND focus = FocusOfThread(thread);
                                  PostKey(focus ? focus : box, VK_ESCAPE);
                                });
    ASSERT_TRUE(outcome.found);
    EXPECT_FALSE(outcome.forced) << SetName(row.type);
    EXPECT_EQ(row.expected, outcome.result) << SetName(row.type);
  }
}

TEST(MessageDlgResults, EnterPressesTheFocusedDefaultButton) {
  struct Row {
    UINT type;
    int defaultButton;
    int expected;
  };
  const Row rows[] = {
      {MB_OK, IDC_MD_BTN1, IDOK},
      {MB_OKCANCEL, IDC_MD_BTN1, IDOK},
      {MB_OKCANCEL | MB_DEFBUTTON2, IDC_MD_BTN2, IDCANCEL},
      {MB_YESNO, IDC_MD_BTN1, IDYES},
      {MB_YESNO | MB_DEFBUTTON2, IDC_MD_BTN2, IDNO},
      {MB_YESNOCANCEL | MB_DEFBUTTON3, IDC_MD_BTN3, IDCANCEL},
      {MB_YESNOCANCEL | MB_DEFBUTTON2 | MB_DEFBUTTON3, IDC_MD_BTN1, IDYES},  // both bits: first
  };
  for (const Row& row : rows) {
    int focusedId = 0;
    LONG_PTR focusedStyle = 0;
    BoxOutcome outcome = RunBox([&] { return ShowPlainBox("Press Enter", row.type); },
                                [&](HWND box, DWORD thread) {
                                  HWND focus = FocusOfThread(thread);
                                  focusedId = ::GetDlgCtrlID(focus);
                                  focusedStyle = ::GetWindowLongPtrA(focus, GWL_STYLE);
                                  PostKey(focus ? focus : box, VK_RETURN);
                                });
    ASSERT_TRUE(outcome.found);
    EXPECT_EQ(row.defaultButton, focusedId) << std::hex << row.type;
    EXPECT_EQ(BS_DEFPUSHBUTTON, focusedStyle & 0xF) << std::hex << row.type;
    EXPECT_FALSE(outcome.forced);
    EXPECT_EQ(row.expected, outcome.result) << std::hex << row.type;
  }
}

TEST(MessageDlgResults, CloseRequestsAnswerLikeEscape) {
  for (const EscapeRow& row : kEscapeResults) {
    for (bool systemCommand : {false, true}) {
      BoxOutcome outcome = RunBox([&] { return ShowPlainBox("Close me", row.type); },
                                  [&](HWND box, DWORD) {
                                    if (systemCommand) {
                                      ::PostMessageA(box, WM_SYSCOMMAND, SC_CLOSE, 0);
                                    } else {
                                      ::PostMessageA(box, WM_CLOSE, 0, 0);
                                    }
                                  });
      ASSERT_TRUE(outcome.found);
      EXPECT_FALSE(outcome.forced) << SetName(row.type) << (systemCommand ? " SC_CLOSE" : "");
      EXPECT_EQ(row.expected, outcome.result) << SetName(row.type);
    }
  }
}

TEST(MessageDlgResults, CloseMessageFromAnotherThreadActsAsFirstButton) {
  EXPECT_EQ(::RegisterWindowMessageA("WM_ZMESSAGEBOX_CLOSE"), WM_ZMESSAGEBOX_CLOSE);
  EXPECT_GE(WM_ZMESSAGEBOX_CLOSE, 0xC000u) << "a registered message";
  struct Row {
    UINT type;
    UINT options;
    int expected;
  };
  const Row rows[] = {
      {MB_OK, 0, IDOK},
      {MB_OKCANCEL, 0, IDOK},
      {MB_YESNO, 0, IDYES},
      {MB_YESNOCANCEL | MB_DEFBUTTON3, 0, IDYES},
      {MB_OK, MDF_NOBUTTONS, IDOK},
      {MB_YESNO | MB_DEFBUTTON2, MDF_NOBUTTONS, IDYES},
  };
  for (const Row& row : rows) {
    for (bool sent : {false, true}) {
      BoxOutcome outcome = RunBox([&] { return ShowPlainBox("Close message", row.type, row.options); },
                                  [&](HWND box, DWORD) {
                                    if (sent) {
                                      ::SendMessageA(box, WM_ZMESSAGEBOX_CLOSE, 0, 0);
                                    } else {
                                      ::PostMessageA(box, WM_ZMESSAGEBOX_CLOSE, 0, 0);
                                    }
                                  });
      ASSERT_TRUE(outcome.found);
      EXPECT_EQ(row.expected, outcome.result) << SetName(row.type) << " options " << row.options;
    }
  }
}

TEST(MessageDlgResults, NoButtonsBoxIgnoresTheUserUntilTheCloseMessage) {
  // Everything the user can do is posted first; the close message last. Posted messages are
  // handled in order, so any of them that ended the box would have answered IDNO.
  int checkState = -1;
  const char* checkText = "Remember";
  bool buttonsHidden = false;
  bool buttonsDisabled = false;
  BoxOutcome outcome = RunBox(
      [&] {
        return ShowMessageDlg(nullptr, "You cannot close me", "ZU Launcher",
                              MB_YESNO | MB_DEFBUTTON2, MDF_NOBUTTONS | MDF_CHECKBOX,
                              reinterpret_cast<LPARAM>(checkText), nullptr, &checkState);
      },
      [&](HWND box, DWORD thread) {
        buttonsHidden = true;
        buttonsDisabled = true;
        for (int id : {IDC_MD_BTN1, IDC_MD_BTN2, IDC_MD_BTN3}) {
          buttonsHidden = buttonsHidden && !::IsWindowVisible(::GetDlgItem(box, id));
          buttonsDisabled = buttonsDisabled && !::IsWindowEnabled(::GetDlgItem(box, id));
        }
        ::PostMessageA(::GetDlgItem(box, IDC_MD_CHECK), BM_CLICK, 0, 0);
        ::PostMessageA(::GetDlgItem(box, IDC_MD_BTN2), BM_CLICK, 0, 0);
        PressButton(box, IDC_MD_BTN2);
        PressButton(box, IDCANCEL);
        HWND focus = FocusOfThread(thread);
        PostKey(focus ? focus : box, VK_ESCAPE);
        PostKey(focus ? focus : box, VK_RETURN);
        ::PostMessageA(box, WM_CLOSE, 0, 0);
        ::PostMessageA(box, WM_SYSCOMMAND, SC_CLOSE, 0);
        ::Sleep(300);
        if (::IsWindow(box)) ::PostMessageA(box, WM_ZMESSAGEBOX_CLOSE, 0, 0);
      });
  ASSERT_TRUE(outcome.found);
  EXPECT_TRUE(buttonsHidden);
  EXPECT_TRUE(buttonsDisabled);
  EXPECT_EQ(IDYES, outcome.result) << "only the close message ends the box, as BTN1";
  EXPECT_EQ(0, checkState) << "check box clicks are not recorded under MDF_NOBUTTONS";
}

TEST(MessageDlgResults, InvalidOwnerGivesZeroWithoutABox) {
  HWND notAWindow = reinterpret_cast<HWND>(static_cast<INT_PTR>(0x7FFF1234));
  ASSERT_FALSE(::IsWindow(notAWindow));
  EXPECT_EQ(0, ShowPlainBox("Never shown", MB_OK, 0, 0, notAWindow));
}

}  // namespace
