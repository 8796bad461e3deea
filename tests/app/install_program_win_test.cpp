// The install step on the Windows system under Wine and Xvfb against the loopback test
// server: the version file's NAME and DOWN_URL, the installer arguments from the launch
// settings, the agent name, the outcomes of a cancel and of a failure, the installer checked
// against DOWN_SIZE and DOWN_SHA256 and against the launcher INI's INSTALLER_SIGNER, and a
// real NSIS installer of the demo program.
#include "app/install_step.h"

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "app/launcher_system_win.h"
#include "env/directories_win.h"
#include "env/log_receiver_win.h"
#include "ini/ini_document.h"
#include "installer/setup_download_dlg_win.h"
#include "msgbox/message_dlg_options.h"
#include "res/load_text.h"
#include "res/resource.h"
#include "tests/app/outcome_print.h"
#include "tests/support/fake_installer_files_win.h"
#include "tests/support/modal_driver_win.h"
#include "tests/support/private_download_folders_win.h"
#include "tests/support/scratch_win.h"
#include "tests/support/test_http_server_win.h"
#include "tests/support/window_finder_win.h"

namespace {

using fake_installer::FileExists;

class InstallProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(test_http::Running());
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS};
    ::InitCommonControlsEx(&controls);
    m_versionFile = GetTempDir() + "zu_install_program_test_version.ini";
    m_recordPath = GetTempDir() + "zu_install_program_test.record";
    m_settingsExe = fake_installer::InCurrentDirectory(kSetupFileName);
    ::DeleteFileA(m_versionFile.c_str());
    private_download::RemoveAll();
    ::DeleteFileA(m_recordPath.c_str());
    m_request.localVersionFilePath = m_versionFile;
    ASSERT_TRUE(::CopyFileA((GetModuleDir() + "fake_installer.exe").c_str(),
                            (test_http::RootDirectory() + "fake_installer.exe").c_str(), FALSE));
    ASSERT_TRUE(fake_installer::WriteSettings(m_settingsExe, {{"RECORD_FILE", m_recordPath}}));
  }

  void TearDown() override {
    ::WritePrivateProfileStringA(nullptr, nullptr, nullptr, m_versionFile.c_str());
    for (const std::string& path :
         {m_versionFile, m_recordPath, fake_installer::SettingsPathFor(m_settingsExe)}) {
      ::DeleteFileA(path.c_str());
    }
    EXPECT_TRUE(private_download::NoneLeft()) << "a private download folder was left behind";
    private_download::RemoveAll();
  }

  void WriteKey(const char* programId, const char* key, const std::string& value) {
    ::WritePrivateProfileStringA(programId, key, value.c_str(), m_versionFile.c_str());
    ::WritePrivateProfileStringA(nullptr, nullptr, nullptr, m_versionFile.c_str());
  }

  void WriteProgramSection(const char* programId, const char* name, const std::string& url) {
    if (name) ::WritePrivateProfileStringA(programId, "NAME", name, m_versionFile.c_str());
    if (!url.empty()) {
      ::WritePrivateProfileStringA(programId, "DOWN_URL", url.c_str(), m_versionFile.c_str());
    }
    ::WritePrivateProfileStringA(nullptr, nullptr, nullptr, m_versionFile.c_str());
  }

  // Runs the install step while `script` drives its dialog from another thread; nothing
  // when the installer ran to its end.
  std::optional<Outcome> Install(const char* programId, std::function<bool()> script,
                                 const std::string& launcherIniText = "") {
    ModalDriver driver(::GetCurrentThreadId(), std::move(script));
    m_request.programId = programId;
    IniDocument launcherIni;
    launcherIni.LoadBuffer(launcherIniText.data(), launcherIniText.size());
    WindowsLauncherSystem system(m_request, launcherIni);
    const std::optional<Outcome> failed = InstallProgram(m_request.programId, m_request, system);
    EXPECT_TRUE(driver.Succeeded()) << "the driver's script gave up";
    return failed;
  }

  // What one install through the dialog showed: its outcome, the text of the box it showed
  // (closed at once; empty when none) and the log lines that name a failed installer check.
  struct Checked {
    std::optional<Outcome> failed;
    std::string boxText;
    std::vector<std::string> checkLines;
  };
  Checked InstallClosingTheBox(const char* programId, const std::string& launcherIniText = "") {
    const DWORD uiThread = ::GetCurrentThreadId();
    BackgroundLogReceiver log;
    Checked checked;
    checked.failed = Install(
        programId,
        [&] {
          HWND dialog = WaitForTopLevelWindow(DownloadDialogOf(uiThread));
          if (!dialog) return false;
          HWND box = nullptr;
          WaitFor(
              [&] {
                return (box = FindTopLevelWindow(MessageBoxesOf(uiThread))) || !::IsWindow(dialog);
              },
              20000);
          if (box) {
            checked.boxText = ItemText(box, IDC_MD_TEXT);
            CloseMessageBox(box);
          }
          return WaitUntilClosed(dialog, 20000);
        },
        launcherIniText);
    for (const ReceivedLine& line : log.Lines()) {
      if (line.text.rfind("installer check failed", 0) == 0) checked.checkLines.push_back(line.text);
    }
    return checked;
  }

  LauncherRequest m_request;
  // The verdict every checked installer gets: installed with no box and no check line, or
  // never started, shown as a failed transfer (code 7) with exactly one check line, which it
  // gives back; nothing left on disk either way.
  std::optional<std::string> ExpectInstalledOrRefused(bool installs, const Checked& checked) {
    EXPECT_EQ(installs, !checked.failed.has_value());
    EXPECT_EQ(installs, FileExists(m_recordPath)) << "started only when it passed";
    EXPECT_TRUE(private_download::NoneLeft()) << "the file and its private folder are removed";
    if (installs) {
      EXPECT_EQ("", checked.boxText);
      EXPECT_TRUE(checked.checkLines.empty());
      return std::nullopt;
    }
    EXPECT_EQ(Outcome::InstallFailed, checked.failed);
    EXPECT_EQ(LoadText(TextId::TransferErrorBox), checked.boxText) << "shown as a failed transfer";
    EXPECT_EQ(1u, checked.checkLines.size());
    if (checked.checkLines.size() != 1) return std::nullopt;
    return checked.checkLines[0];
  }

  std::string m_versionFile, m_recordPath, m_settingsExe;
};

TEST_F(InstallProgramTest, WithoutNameOrUrlFailsBeforeAnyRequest) {
  const std::string token = test_http::UniqueToken("no-name");
  const std::string url = test_http::Url("/files/fake_installer.exe?token=" + token);
  WriteProgramSection("NO_NAME", nullptr, url);
  WriteProgramSection("NO_URL", "Zu Test Program", "");
  WriteProgramSection("EMPTY_NAME", "", url);
  for (const char* programId : {"NO_NAME", "NO_URL", "EMPTY_NAME", "NOT_IN_THE_FILE"}) {
    EXPECT_EQ(Outcome::NoInstallInformation, Install(programId, [] { return true; })) << programId;
  }
  EXPECT_TRUE(test_http::RecordedRequests(token).empty()) << "nothing was downloaded";
}

TEST_F(InstallProgramTest, InstallsWithArgumentsFromTheSettingsAndTheAgentName) {
  struct Row {
    int silentInstall, autoInstall;
    const char* arguments;
  } rows[] = {{1, 1, "/S"}, {0, 1, "/A"}, {0, 0, ""}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.arguments);
    const std::string token = test_http::UniqueToken("install");
    WriteProgramSection("ZUTEST", "Zu Test Program",
                        test_http::Url("/files/fake_installer.exe?token=" + token));
    m_request.settings.SilentInstall = row.silentInstall;
    m_request.settings.AutoInstall = row.autoInstall;
    m_request.agentName = "ZuTestAgent/2";
    ::DeleteFileA(m_recordPath.c_str());
    EXPECT_EQ(std::nullopt, Install("ZUTEST", [] { return true; }));
    EXPECT_EQ(row.arguments, fake_installer::ReadRecord(m_recordPath)["ARGUMENTS"]);
    std::vector<test_http::RecordedRequest> requests = test_http::RecordedRequests(token);
    ASSERT_EQ(1u, requests.size());
    EXPECT_EQ("ZuTestAgent/2", requests[0].Header("User-Agent"));
  }
}

TEST_F(InstallProgramTest, CancelAndFailureHaveTheirOutcomes) {
  struct Row {
    const char* query;
    bool cancel;
    bool confirm;  // the download had started: Cancel asks first, and is answered Yes
    Outcome expected;
    DWORD minMs;   // the whole install took at least this long
  } rows[] = {
      {"?delay=1500", true, false, Outcome::InstallCancelled, 0},  // cancelled while connecting
      {"?status=404", false, false, Outcome::InstallFailed, 0},
      // The server stalls after two whole reads: the dialog still closes within a second.
      {"?stall=20480&ranges&etag=v", true, true, Outcome::InstallCancelled, 0},
      // Every answer is cut: resumed after 1, 2 and 4 s, then given up.
      {"?cut=4096&ranges&etag=v", false, false, Outcome::InstallFailed, 7000},
  };
  const std::string downloadedFormat = LoadText(TextId::DownloadedBytes);  // "Загружено: %s байт"
  const std::string downloaded = downloadedFormat.substr(0, downloadedFormat.find('%'));
  for (const Row& row : rows) {
    SCOPED_TRACE(row.query);
    WriteProgramSection("ZUTEST", "Zu Test Program",
                        test_http::Url(std::string("/files/fake_installer.exe") + row.query));
    const DWORD uiThread = ::GetCurrentThreadId();
    DWORD closedAfterYesMs = 0;
    const DWORD started = ::GetTickCount();
    EXPECT_EQ(row.expected, Install("ZUTEST", [&] {
      HWND dialog = WaitForTopLevelWindow(DownloadDialogOf(uiThread));
      if (!dialog) return false;
      if (row.confirm && !WaitFor([&] {
            return ItemText(dialog, IDC_DOWNLOAD_STATUS).compare(0, downloaded.size(),
                                                                  downloaded) == 0;
          })) {
        return false;
      }
      if (row.cancel) {
        PressButton(dialog, IDCANCEL);
        if (row.confirm) {
          HWND box = WaitForTopLevelWindow(MessageBoxesOf(uiThread));
          if (!box) return false;
          const DWORD answered = ::GetTickCount();
          CloseMessageBox(box);  // its first button: Yes
          if (!WaitUntilClosed(dialog)) return false;
          closedAfterYesMs = ::GetTickCount() - answered;
          return true;
        }
      } else {
        HWND box = WaitForTopLevelWindow(MessageBoxesOf(uiThread), 20000);
        if (!box) return false;
        CloseMessageBox(box);
      }
      return WaitUntilClosed(dialog);
    }));
    EXPECT_FALSE(FileExists(m_recordPath));
    EXPECT_TRUE(private_download::NoneLeft()) << "nothing left behind";
    EXPECT_LT(closedAfterYesMs, 1000u) << "the dialog closes within a second of the answer";
    EXPECT_GE(::GetTickCount() - started, row.minMs);
  }
}

// An installer whose connection breaks at 30, 60 and 90 % is resumed where the file ends
// and installs with exactly the served bytes (copied by the installer while it runs).
TEST_F(InstallProgramTest, ResumesACutDownloadAndInstallsTheServedBytes) {
  const std::string served = ReadWholeFile(test_http::RootDirectory() + "fake_installer.exe");
  ASSERT_FALSE(served.empty());
  for (int percent : {30, 60, 90}) {
    SCOPED_TRACE(percent);
    const std::string token = test_http::UniqueToken("resume-install");
    const size_t cut = served.size() * percent / 100;
    WriteProgramSection("ZUTEST", "Zu Test Program",
                        test_http::Url("/files/fake_installer.exe?cut=" + std::to_string(cut) +
                                       "&faults=1&ranges&etag=v&token=" + token));
    ::DeleteFileA(m_recordPath.c_str());
    // The installer copies the file it runs from, which the launcher removes afterwards.
    const std::string ran = m_recordPath + ".ran.exe";
    ::DeleteFileA(ran.c_str());
    ASSERT_TRUE(fake_installer::WriteSettings(
        m_settingsExe, {{"RECORD_FILE", m_recordPath}, {"COPY_SELF_TO", ran}}));
    EXPECT_EQ(std::nullopt, Install("ZUTEST", [&] {
      return WaitFor([&] { return FileExists(m_recordPath); }, 20000);
    }));
    const std::string installed = ReadWholeFile(ran);
    ::DeleteFileA(ran.c_str());
    EXPECT_TRUE(installed == served) << "installed " << installed.size() << " bytes";
    const std::vector<test_http::RecordedRequest> requests = test_http::RecordedRequests(token);
    ASSERT_EQ(2u, requests.size());
    EXPECT_FALSE(requests[0].HasHeader("Range"));
    EXPECT_EQ("bytes=" + std::to_string(cut) + "-", requests[1].Header("Range"));
    EXPECT_EQ("\"v\"", requests[1].Header("If-Range"));
  }
}

// The installer is started only when it is the one the version file describes. A failed
// check is a failed transfer to the user (its box), code 7 (InstallFailed) to the caller, and a
// log line that names the check with what was expected and what came; nothing is started or
// left behind.
TEST_F(InstallProgramTest, InstallerIsCheckedAgainstDownSizeAndDownSha256) {
  const fake_installer::DownKeys served =
      fake_installer::DownKeysOf(test_http::RootDirectory() + "fake_installer.exe");
  const std::string& size = served.size;
  const std::string& sha256 = served.sha256;
  const long long bytes = std::stoll(size);
  std::string upper = sha256;
  std::transform(upper.begin(), upper.end(), upper.begin(), ::toupper);
  const std::string hexDigits = "0123456789abcdef";
  std::string oneBitOff = sha256;
  oneBitOff.back() = hexDigits[hexDigits.find(sha256.back()) ^ 1];
  const std::string shorter = std::to_string(bytes + 1), longer = std::to_string(bytes - 1);
  const std::string sizeFailed = "installer check failed: size: expected ";
  const std::string digestFailed = "installer check failed: SHA-256: expected ";
  struct Row {
    const char* shows;
    std::string query, downSize, downSha256;
    bool installs;
    std::string logLine;  // the whole line, or its beginning when it ends in "at least "
  };
  const Row rows[] = {
      {"size and digest match", "", size, sha256, true, ""},
      {"an upper-case digest matches", "", "", upper, true, ""},
      {"size alone", "", size, "", true, ""},
      {"digest one bit off", "", size, oneBitOff, false,
       digestFailed + oneBitOff + ", received " + sha256},
      {"body one byte short", "", shorter, sha256, false,
       sizeFailed + shorter + " bytes, received " + size + " bytes"},
      {"body one byte long, announced", "", longer, sha256, false,
       sizeFailed + longer + " bytes, received at least " + size + " bytes (transfer stopped)"},
      {"body one byte long, unannounced", "?length=none", longer, sha256, false,
       sizeFailed + longer + " bytes, received at least " + size + " bytes (transfer stopped)"},
      {"much longer body, unannounced", "?length=none", "4096", "", false,
       sizeFailed + "4096 bytes, received at least "},
      {"63-digit digest", "", "", sha256.substr(0, 63), false,
       digestFailed + sha256.substr(0, 63) + ", received " + sha256},
      {"non-hex digest", "", "", sha256.substr(0, 63) + "g", false,
       digestFailed + sha256.substr(0, 63) + "g, received " + sha256},
      {"malformed size", "", "12kB", "", false,
       sizeFailed + "12kB bytes, received at least " + size + " bytes (transfer stopped)"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.shows);
    ::WritePrivateProfileStringA("ZUTEST", nullptr, nullptr, m_versionFile.c_str());
    WriteProgramSection("ZUTEST", "Zu Test Program",
                        test_http::Url("/files/fake_installer.exe" + row.query));
    if (!row.downSize.empty()) WriteKey("ZUTEST", "DOWN_SIZE", row.downSize);
    if (!row.downSha256.empty()) WriteKey("ZUTEST", "DOWN_SHA256", row.downSha256);
    ::DeleteFileA(m_recordPath.c_str());
    const std::optional<std::string> refused =
        ExpectInstalledOrRefused(row.installs, InstallClosingTheBox("ZUTEST"));
    if (!refused) continue;
    const std::string& line = *refused;
    const std::string atLeast = "at least ";
    if (row.logLine.size() >= atLeast.size() &&
        row.logLine.compare(row.logLine.size() - atLeast.size(), atLeast.size(), atLeast) == 0) {
      ASSERT_EQ(row.logLine, line.substr(0, row.logLine.size()));
      const long long offered = std::atoll(line.c_str() + row.logLine.size());
      EXPECT_GT(offered, 4096);
      EXPECT_LE(offered, 4096 + 10240) << "stopped within one chunk past DOWN_SIZE";
    } else {
      EXPECT_EQ(row.logLine, line);
    }
  }
}

// Installers signed by osslsigncode with certificates made for this build tree
// (tests/tools/make_signed_installers.sh), checked against INSTALLER_SIGNER in the launcher INI.
// Under Wine the chain's root is not checked (the test CA is trusted nowhere), so the pin
// decides: a wrong signer must be refused by the launcher, not by the system.
std::string SignedInstaller(const std::string& name) {
  std::string path = std::string("Z:") + ZU_SIGNED_INSTALLERS_DIR + "/" + name;
  for (char& ch : path) ch = ch == '/' ? '\\' : ch;
  return path;
}

std::string CertificateDigest(const char* name) {
  std::string text = ReadWholeFile(SignedInstaller(std::string(name) + ".sha256"));
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.pop_back();
  return text;
}

TEST_F(InstallProgramTest, InstallerSignerPinDecidesWhichInstallersRun) {
  const std::string vendor = CertificateDigest("vendor");
  const std::string other = CertificateDigest("other");
  ASSERT_EQ(64u, vendor.size()) << "make_signed_installers.sh has not run";
  ASSERT_EQ(64u, other.size());
  std::string upper = vendor;
  std::transform(upper.begin(), upper.end(), upper.begin(), ::toupper);
  const std::string refused = "installer check failed: signature: ";
  const std::string malformed = refused + "malformed INSTALLER_SIGNER in the launcher INI";
  struct Row {
    const char* shows;
    const char* served;
    std::optional<std::string> pin;  // INSTALLER_SIGNER; nothing: the key is absent
    bool installs;
    std::string logLine;
  };
  const Row rows[] = {
      {"signed by the pinned certificate", "vendor_signed.exe", vendor, true, ""},
      {"unsigned, without a pin: runs as before", "unsigned.exe", std::nullopt, true, ""},
      {"unsigned under the pin", "unsigned.exe", vendor, false, refused + "no signature"},
      {"signed by another certificate", "other_signed.exe", vendor, false,
       refused + "signer " + other + " not pinned in INSTALLER_SIGNER"},
      {"changed after signing, with no DOWN_SHA256 to catch it", "tampered.exe", vendor, false,
       refused + "bad digest (the file changed after signing)"},
      {"the second entry of a list signed", "vendor_signed.exe", other + " , " + vendor, true, ""},
      {"the pin in upper case", "vendor_signed.exe", upper, true, ""},
      {"a malformed pin refuses a well-signed installer", "vendor_signed.exe",
       other + "," + vendor.substr(1), false, malformed},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.shows);
    ASSERT_TRUE(::CopyFileA(SignedInstaller(row.served).c_str(),
                            (test_http::RootDirectory() + row.served).c_str(), FALSE));
    ::WritePrivateProfileStringA("ZUTEST", nullptr, nullptr, m_versionFile.c_str());
    WriteProgramSection("ZUTEST", "Zu Test Program",
                        test_http::Url(std::string("/files/") + row.served));
    const std::string launcherIni =
        row.pin ? "[GENERAL]\r\nINSTALLER_SIGNER=" + *row.pin + "\r\n" : "[GENERAL]\r\n";
    ::DeleteFileA(m_recordPath.c_str());
    const std::optional<std::string> refused =
        ExpectInstalledOrRefused(row.installs, InstallClosingTheBox("ZUTEST", launcherIni));
    if (refused) {
      EXPECT_EQ(row.logLine, *refused);
    }
  }
}

// The demo program's NSIS installer (built when makensis is installed), downloaded and run
// silently: it records the install directory in the registry and the version in its INI,
// where the launcher's program lookup finds them.
TEST_F(InstallProgramTest, RealDemoInstallerInstallsTheDemoProgram) {
  const std::string setup = GetModuleDir() + "zu_demo_setup.exe";
  if (!FileExists(setup)) GTEST_SKIP() << "zu_demo_setup.exe not built (makensis missing)";
  ::RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\ZuDemo");
  ASSERT_TRUE(::CopyFileA(setup.c_str(), (test_http::RootDirectory() + "zu_demo_setup.exe").c_str(),
                          FALSE));
  WriteProgramSection("ZUDEMO", "ZU Demo", test_http::Url("/files/zu_demo_setup.exe"));
  const fake_installer::DownKeys demo = fake_installer::DownKeysOf(setup);
  WriteKey("ZUDEMO", "DOWN_SIZE", demo.size);
  WriteKey("ZUDEMO", "DOWN_SHA256", demo.sha256);
  m_request.settings.SilentInstall = 1;
  ASSERT_EQ(std::nullopt, Install("ZUDEMO", [] { return true; }));

  char installDir[MAX_PATH] = {};
  DWORD size = sizeof installDir;
  ASSERT_EQ(ERROR_SUCCESS, ::RegGetValueA(HKEY_CURRENT_USER, "Software\\ZuDemo", "InstallDir",
                                          RRF_RT_REG_SZ, nullptr, installDir, &size));
  const std::string dir = std::string(installDir) + "\\";
  const std::string programIni = dir + "zu_demo.ini";
  EXPECT_TRUE(FileExists(dir + "zu_demo.exe"));
  EXPECT_EQ(1,
            static_cast<int>(::GetPrivateProfileIntA("GENERAL", "VERSION", 0, programIni.c_str())));
  EXPECT_EQ(0, static_cast<int>(
                   ::GetPrivateProfileIntA("GENERAL", "MINORVERSION", -1, programIni.c_str())));
  EXPECT_TRUE(private_download::NoneLeft()) << "the downloaded installer is removed";

  for (const char* file : {"zu_demo.exe", "zu_demo.ini", "uninstall.exe"}) {
    ::DeleteFileA((dir + file).c_str());
  }
  ::RemoveDirectoryA(installDir);
  ::RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\ZuDemo");
}

}  // namespace
