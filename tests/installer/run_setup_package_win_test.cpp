// The installer run for a Windows Installer package: the line msiexec is given, and its 1618
// ("another installation is in progress") waited out with the dialog saying so. msiexec is
// played by the recording stand-in, started in its place by the process seam, which Wine's
// msiexec cannot be made to answer 1618.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "tests/installer/setup_dialog_fixture_win.h"

namespace {

// What the seam was asked to start, and how many runs answer 1618 before one succeeds.
struct PackageSeam {
  std::vector<std::string> commandLines;
  int busyAnswers = 0;
  std::string recordPath;
} g_package;

BOOL WINAPI StartStandInForMsiexec(LPCSTR, LPSTR commandLine, LPSECURITY_ATTRIBUTES,
                                   LPSECURITY_ATTRIBUTES, BOOL, DWORD, LPVOID, LPCSTR,
                                   LPSTARTUPINFOA startup, LPPROCESS_INFORMATION created) {
  const bool busy = static_cast<int>(g_package.commandLines.size()) < g_package.busyAnswers;
  g_package.commandLines.push_back(commandLine);
  std::string standIn = "\"" + GetModuleDir() + "fake_installer.exe\" RECORD_FILE=\"" +
                        g_package.recordPath + "\" EXIT_CODE=" + (busy ? "1618" : "0");
  return ::CreateProcessA(nullptr, standIn.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          startup, created);
}

TEST_F(SetupDownloadDialogTest, APackageGoesToMsiexecWhichIsAskedAgainWhileBusy) {
  char systemDir[MAX_PATH] = {};
  ::GetSystemDirectoryA(systemDir, sizeof systemDir);
  const std::string waiting = LoadText(TextId::InstallerBusyWaiting);
  struct Row {
    const char* what;
    int busyAnswers;
    size_t runs;  // 1618 is asked again after each of the four pauses, then it stands
  } rows[] = {
      {"free at once", 0, 1},
      {"busy once", 1, 2},
      {"busy throughout", 99, 5},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    g_package = PackageSeam{};
    g_package.busyAnswers = row.busyAnswers;
    g_package.recordPath = m_recordPath;
    InstallerRequest installer = Request(InstallerUrl(), "/qn");
    installer.kind = InstallerKind::Package;
    installer.busyPausesMs = {1500, 20, 20, 20};
    ObservedSetupDownloadDlg dialog(installer,
                                    InstallerProcessApi{&StartStandInForMsiexec, nullptr});
    std::string statusWhileBusy;
    const INT_PTR end = Run(dialog, [&] {
      HWND window = WaitForDialog();
      if (row.busyAnswers == 0) return true;
      if (!WaitFor([&] { return ItemText(window, IDC_DOWNLOAD_STATUS) == waiting; }, 20000))
        return Fail("the status never said it waits");
      statusWhileBusy = waiting;
      return true;
    });
    EXPECT_EQ(1, end) << "the lookup after the installer decides, not its answer";
    ASSERT_EQ(row.runs, g_package.commandLines.size());
    const std::string expected = "\"" + std::string(systemDir) + "\\msiexec.exe\" /i \"" +
                                 dialog.SetupPath() + "\" /norestart /qn";
    for (const std::string& line : g_package.commandLines) EXPECT_EQ(expected, line);
    const std::string suffix = "\\ZuLauncherTempSetup.msi";
    EXPECT_EQ(suffix, dialog.SetupPath().substr(dialog.SetupPath().size() - suffix.size()));
    EXPECT_FALSE(fake_installer::FileExists(dialog.SetupPath()))
        << "the package goes after the run";
  }
}

}  // namespace
