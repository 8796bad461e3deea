// The modal-dialog helper on dialog 129 of the test program's resources, under Wine and
// Xvfb: end value, message map by message and by command id, centring, items by id.
#include "common/dialog_win.h"

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "res/resource.h"

namespace {

const UINT kProbeMessage = ::RegisterWindowMessageA("ZuDialogHelperTestProbe");

class ProbeDialog : public ModalDialog {
 public:
  ProbeDialog() {
    m_map.OnMessage(WM_INITDIALOG, &ProbeDialog::OnInit)
        .OnCommand(IDCANCEL, 0, &ProbeDialog::OnCancelClicked)
        .OnCommand(IDCANCEL, 1, &ProbeDialog::OnCancelAccelerator)
        .OnMessage(kProbeMessage, &ProbeDialog::OnProbe)
        .OnMessage(kProbeMessage, &ProbeDialog::OnProbeShadowed);
  }

  std::function<void(ProbeDialog&)> m_atInit;
  std::vector<std::string> m_calls;
  HWND m_windowAtInit = nullptr;
  RECT m_rectAfterCentring{};
  bool m_throwOnProbe = false;

 protected:
  bool ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    return m_map.Dispatch(*this, message, wParam, lParam, result);
  }

 private:
  LRESULT OnInit(WPARAM, LPARAM) {
    m_windowAtInit = Window();
    if (m_atInit) m_atInit(*this);
    return 0;
  }
  LRESULT OnCancelClicked(WPARAM, LPARAM) {
    m_calls.push_back("cancel clicked");
    EndDialog(static_cast<INT_PTR>(m_calls.size()));
    return 0;
  }
  LRESULT OnCancelAccelerator(WPARAM, LPARAM) {
    m_calls.push_back("cancel accelerator");
    return 0;
  }
  LRESULT OnProbe(WPARAM wParam, LPARAM) {
    if (m_throwOnProbe) throw std::runtime_error("handler failure");
    m_calls.push_back("probe " + std::to_string(wParam));
    return 0;
  }
  LRESULT OnProbeShadowed(WPARAM, LPARAM) {
    m_calls.push_back("shadowed");
    return 0;
  }

  MessageMap<ProbeDialog> m_map;
};

class DialogHelperTest : public ::testing::Test {
 protected:
  void SetUp() override {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS};
    ::InitCommonControlsEx(&controls);
  }
  static INT_PTR Show(ProbeDialog& dialog, HWND parent = nullptr) {
    return dialog.DoModal(::GetModuleHandleA(nullptr), IDD_SETUP_DOWNLOAD, parent);
  }
  static void PostCommand(HWND window, int id, int code) {
    ::PostMessageA(window, WM_COMMAND, MAKEWPARAM(id, code), 0);
  }
};

TEST_F(DialogHelperTest, DoModalReturnsTheEndValueAndItemsAreReachedById) {
  ProbeDialog dialog;
  std::string progressClass;
  HWND missingItem = reinterpret_cast<HWND>(1);
  dialog.m_atInit = [&](ProbeDialog& self) {
    char className[64] = {};
    ::GetClassNameA(self.GetItem(IDC_DOWNLOAD_PROGRESS), className, sizeof className);
    progressClass = className;
    missingItem = self.GetItem(4242);
    self.EndDialog(42);
  };
  EXPECT_EQ(42, Show(dialog));
  EXPECT_NE(nullptr, dialog.m_windowAtInit) << "bound before WM_INITDIALOG's handler";
  EXPECT_EQ(nullptr, dialog.Window()) << "unbound once the window is gone";
  EXPECT_STREQ("msctls_progress32", progressClass.c_str());
  EXPECT_EQ(nullptr, missingItem);
  EXPECT_EQ(nullptr, dialog.GetItem(IDC_DOWNLOAD_PROGRESS));
}

TEST_F(DialogHelperTest, MessagesReachHandlersByMessageAndByCommandIdInMapOrder) {
  ProbeDialog dialog;
  dialog.m_atInit = [](ProbeDialog& self) {
    PostCommand(self.Window(), IDCANCEL, 1);             // same id, other notification code
    PostCommand(self.Window(), IDC_DOWNLOAD_STATUS, 0);  // no entry: default processing
    ::PostMessageA(self.Window(), kProbeMessage, 7, 0);  // registered message, two entries
    PostCommand(self.Window(), IDCANCEL, 0);
  };
  EXPECT_EQ(3, Show(dialog));
  const std::vector<std::string> expected = {"cancel accelerator", "probe 7", "cancel clicked"};
  EXPECT_EQ(expected, dialog.m_calls);
}

TEST_F(DialogHelperTest, AnExceptionInAHandlerStopsAtTheDialogProcedure) {
  ProbeDialog dialog;
  dialog.m_throwOnProbe = true;
  dialog.m_atInit = [](ProbeDialog& self) {
    ::PostMessageA(self.Window(), kProbeMessage, 1, 0);
    PostCommand(self.Window(), IDCANCEL, 0);
  };
  EXPECT_EQ(1, Show(dialog));
  const std::vector<std::string> expected = {"cancel clicked"};
  EXPECT_EQ(expected, dialog.m_calls);
}

TEST_F(DialogHelperTest, UnusableParentOrTemplateGiveThePlatformsFailureValues) {
  ProbeDialog dialog;
  EXPECT_EQ(-1, dialog.DoModal(::GetModuleHandleA(nullptr), 4711, nullptr)) << "no such dialog";
  HWND gone = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                ::GetModuleHandleA(nullptr), nullptr);
  ::DestroyWindow(gone);
  EXPECT_EQ(0, Show(dialog, gone)) << "parent is not a window";
  EXPECT_EQ(nullptr, dialog.m_windowAtInit);
}

// Centring: over a visible owner, otherwise in the work area, always inside the work area.
TEST_F(DialogHelperTest, CentresOverAVisibleOwnerOrInTheWorkArea) {
  RECT workArea;
  ASSERT_TRUE(::SystemParametersInfoA(SPI_GETWORKAREA, 0, &workArea, 0));
  enum Expect { kWorkAreaCentre, kOwnerCentre, kWorkAreaCorner };
  struct Row {
    bool owner;
    bool ownerVisible;
    RECT ownerRect;
    Expect expect;
    const char* shows;
  } rows[] = {
      {false, false, {}, kWorkAreaCentre, "no owner: the work area"},
      {true, true, {100, 120, 700, 620}, kOwnerCentre, "visible owner"},
      {true, false, {100, 120, 700, 620}, kWorkAreaCentre, "hidden owner: the work area"},
      {true, true, {-400, -300, 0, 0}, kWorkAreaCorner, "owner off screen: kept inside"},
  };
  for (const Row& row : rows) {
    HWND owner = nullptr;
    if (row.owner) {
      owner = ::CreateWindowExA(0, "STATIC", "owner", WS_POPUP | WS_BORDER, row.ownerRect.left,
                                row.ownerRect.top, row.ownerRect.right - row.ownerRect.left,
                                row.ownerRect.bottom - row.ownerRect.top, nullptr, nullptr,
                                ::GetModuleHandleA(nullptr), nullptr);
      ASSERT_NE(nullptr, owner);
      if (row.ownerVisible) ::ShowWindow(owner, SW_SHOWNOACTIVATE);
    }
    ProbeDialog dialog;
    RECT before{}, after{};
    dialog.m_atInit = [&](ProbeDialog& self) {
      ::GetWindowRect(self.Window(), &before);
      EXPECT_TRUE(self.CenterWindow());
      ::GetWindowRect(self.Window(), &after);
      self.EndDialog(1);
    };
    EXPECT_EQ(1, Show(dialog, owner)) << row.shows;
    if (owner) ::DestroyWindow(owner);

    EXPECT_EQ(before.right - before.left, after.right - after.left) << "size unchanged";
    const int centreX = (after.left + after.right) / 2;
    const int centreY = (after.top + after.bottom) / 2;
    switch (row.expect) {
      case kWorkAreaCentre:
        EXPECT_NEAR((workArea.left + workArea.right) / 2, centreX, 1) << row.shows;
        EXPECT_NEAR((workArea.top + workArea.bottom) / 2, centreY, 1) << row.shows;
        break;
      case kOwnerCentre:
        EXPECT_NEAR(400, centreX, 1) << row.shows;
        EXPECT_NEAR(370, centreY, 1) << row.shows;
        break;
      case kWorkAreaCorner:
        EXPECT_EQ(workArea.left, after.left) << row.shows;
        EXPECT_EQ(workArea.top, after.top) << row.shows;
        break;
    }
  }
}

}  // namespace
