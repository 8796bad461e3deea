// The fixture of the installer download dialog tests: the test thread runs the real dialog
// modally while a driver thread watches its windows, posts commands and answers the boxes,
// against the loopback test server. The installer served is tools/fake_installer (copied to
// the server's file root), which records how it was started; it reads its settings from the
// current directory, since the dialog downloads it into a fresh private folder. Every test
// ends with no private download folder left. Header of the test program.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>

#include "env/directories_win.h"
#include "installer/setup_download_dlg_win.h"
#include "msgbox/message_dlg_win.h"
#include "res/load_text.h"
#include "res/resource.h"
#include "tests/installer/observed_setup_dialog_win.h"
#include "tests/support/fake_installer_files_win.h"
#include "tests/support/modal_driver_win.h"
#include "tests/support/private_download_folders_win.h"
#include "tests/support/test_http_server_win.h"
#include "tests/support/window_finder_win.h"
#include "transfer/http_get_file_win.h"

class SetupDownloadDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(test_http::Running());
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS};
    ::InitCommonControlsEx(&controls);
    m_uiThread = ::GetCurrentThreadId();
    m_settingsExe = fake_installer::InCurrentDirectory(kSetupFileName);
    m_recordPath = GetTempDir() + "zu_setup_dialog_test.record";
    RemoveLeftovers();
    private_download::RemoveAll();
    const std::string served = test_http::RootDirectory() + "fake_installer.exe";
    ASSERT_TRUE(
        ::CopyFileA((GetModuleDir() + "fake_installer.exe").c_str(), served.c_str(), FALSE));
    ASSERT_TRUE(fake_installer::WriteSettings(m_settingsExe, {{"RECORD_FILE", m_recordPath}}));
    m_installerSize = FileSize(served);
    m_installerBytes = ReadWholeFile(served);
    // Copies: LoadText hands out one shared buffer, and the driver thread must not call it.
    m_textTransferError = LoadText(TextId::TransferError);
    m_textTransferErrorBox = LoadText(TextId::TransferErrorBox);
    m_textCannotStart = LoadText(TextId::CannotStartInstaller);
  }

  void TearDown() override {
    if (HasFailure()) HttpGetFileCancel(-1);  // a transfer a failed script left running
    EXPECT_TRUE(private_download::NoneLeft()) << "a private download folder was left behind";
    private_download::RemoveAll();
    RemoveLeftovers();
  }

  void RemoveLeftovers() {
    ::DeleteFileA(fake_installer::SettingsPathFor(m_settingsExe).c_str());
    ::DeleteFileA(m_recordPath.c_str());
  }

  static long long FileSize(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return -1;
    return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  }

  // The test program's installer at `url`, started with `arguments`.
  static InstallerRequest Request(const std::string& url, const std::string& arguments = "/S") {
    InstallerRequest installer;
    installer.programName = "Zu Test Program";
    installer.downloadUrl = url;
    installer.setupArgs = arguments;
    installer.agentName = "ZuLauncher";
    return installer;
  }

  static std::string InstallerUrl(const std::string& query = "") {
    return test_http::Url("/files/fake_installer.exe" + query);
  }

  // A rate that makes the installer's download last about `seconds`.
  std::string TrickleQuery(int seconds) const {
    return "?rate=" + std::to_string(m_installerSize / seconds);
  }

  // Runs `dialog` modally while `script` drives it from another thread; the end code.
  INT_PTR Run(CSetupDownloadDlg& dialog, std::function<bool()> script) {
    m_failure.clear();
    m_modalEnded = false;
    ModalDriver driver(m_uiThread, std::move(script));
    const INT_PTR end = dialog.DoModal(::GetModuleHandleA(nullptr), IDD_SETUP_DOWNLOAD, nullptr);
    m_modalEnded = true;
    EXPECT_TRUE(driver.Succeeded()) << m_failure;
    return end;
  }

  bool Fail(const std::string& why) {
    m_failure = why;
    return false;
  }

  // The dialog once it is on screen; null when it ended before the driver saw it.
  HWND WaitForDialog() {
    HWND window = nullptr;
    WaitFor([&] {
      window = FindTopLevelWindow(DownloadDialogOf(m_uiThread));
      return window != nullptr || m_modalEnded;
    });
    return window;
  }
  HWND WaitForBox() { return WaitForTopLevelWindow(MessageBoxesOf(m_uiThread)); }

  // Watches until the dialog has ended; false if a message box showed up meanwhile.
  bool NoBoxUntilEnded() {
    const bool ended = WaitFor(
        [&] {
          HWND box = FindTopLevelWindow(MessageBoxesOf(m_uiThread));
          if (box) m_failure = "unexpected box: " + ItemText(box, IDC_MD_TEXT);
          return box != nullptr || m_modalEnded;
        },
        20000);
    if (!ended) return Fail("the dialog stayed open");
    return m_failure.empty();
  }

  bool WaitGone(HWND dialog, DWORD timeoutMs = 20000) {
    return WaitUntilClosed(dialog, timeoutMs) || Fail("the dialog stayed open");
  }

  DWORD m_uiThread = 0;
  std::string m_settingsExe;  // the installer's settings go beside this (current directory)
  std::string m_recordPath;
  long long m_installerSize = 0;
  std::string m_installerBytes;  // the served installer
  std::string m_textTransferError, m_textTransferErrorBox, m_textCannotStart;
  std::string m_failure;
  std::atomic<bool> m_modalEnded{false};
};

// Groups that compare the Russian texts byte for byte run in code page 1251.
class SetupDownloadDialogCp1251 : public SetupDownloadDialogTest {};

inline std::string CurrentDirectory() {
  char directory[MAX_PATH] = {};
  ::GetCurrentDirectoryA(sizeof directory, directory);
  return directory;
}
