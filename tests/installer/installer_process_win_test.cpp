// Starting the installer: the quoted path (a decoy program shows that the launcher quotes it
// itself, since Wine would find the right file anyway), the elevation fallback through a
// seam that answers ERROR_ELEVATION_REQUIRED (Wine never does), a refused elevation, and
// the recording stand-in installer itself.
#include "installer/installer_process_win.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "common/sha256_win.h"
#include "env/directories_win.h"
#include "tests/installer/setup_dialog_fixture_win.h"
#include "tests/support/fake_installer_files_win.h"
#include "tests/support/scratch_win.h"

namespace {

using fake_installer::FileExists;

// What the replaced platform calls saw, and how they answer.
struct SeamState {
  DWORD createProcessError = kErrorElevationRequired;
  bool elevationGranted = true;
  int createProcessCalls = 0;
  std::string commandLine;
  int shellExecuteCalls = 0;
  std::string verb, file, parameters, directory;
  ULONG mask = 0;
  HWND owner = nullptr;
  std::string probeRecord;  // when set, another process tries to write the file first
};
SeamState g_seam;

// Another process (the stand-in installer with WRITE_PROBE) tries to open `path` for writing
// and to delete it, and records what it got, just before the installer is started.
void ProbeWritersFromAnotherProcess(const std::string& path) {
  if (g_seam.probeRecord.empty()) return;
  std::string line = "\"" + GetModuleDir() + "fake_installer.exe\" \"WRITE_PROBE=" + path +
                     "\" \"RECORD_FILE=" + g_seam.probeRecord + "\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION created{};
  if (!::CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &created)) {
    return;
  }
  UniqueKernelHandle process(created.hProcess);
  UniqueKernelHandle thread(created.hThread);
  ::WaitForSingleObject(process.get(), 20000);
}

// The real start, after the probe: the path is the command line's quoted first word.
BOOL WINAPI CreateProcessAfterAProbe(LPCSTR application, LPSTR commandLine,
                                     LPSECURITY_ATTRIBUTES processAttributes,
                                     LPSECURITY_ATTRIBUTES threadAttributes, BOOL inherit,
                                     DWORD flags, LPVOID environment, LPCSTR directory,
                                     LPSTARTUPINFOA startup, LPPROCESS_INFORMATION created) {
  ++g_seam.createProcessCalls;
  g_seam.commandLine = commandLine;
  const std::string line = commandLine;
  ProbeWritersFromAnotherProcess(line.substr(1, line.find('"', 1) - 1));
  return ::CreateProcessA(application, commandLine, processAttributes, threadAttributes, inherit,
                          flags, environment, directory, startup, created);
}

BOOL WINAPI CreateProcessNeedingElevation(LPCSTR, LPSTR commandLine, LPSECURITY_ATTRIBUTES,
                                          LPSECURITY_ATTRIBUTES, BOOL, DWORD, LPVOID, LPCSTR,
                                          LPSTARTUPINFOA, LPPROCESS_INFORMATION) {
  ++g_seam.createProcessCalls;
  g_seam.commandLine = commandLine;
  ::SetLastError(g_seam.createProcessError);
  return FALSE;
}

BOOL WINAPI ShellExecuteAsIfElevated(SHELLEXECUTEINFOA* info) {
  ++g_seam.shellExecuteCalls;
  g_seam.verb = info->lpVerb ? info->lpVerb : "";
  g_seam.file = info->lpFile ? info->lpFile : "";
  g_seam.parameters = info->lpParameters ? info->lpParameters : "";
  g_seam.directory = info->lpDirectory ? info->lpDirectory : "";
  g_seam.mask = info->fMask;
  g_seam.owner = info->hwnd;
  ProbeWritersFromAnotherProcess(g_seam.file);
  if (!g_seam.elevationGranted) {
    ::SetLastError(ERROR_CANCELLED);  // the user said no to the elevation prompt
    return FALSE;
  }
  // Wine has no elevation: a granted one is an ordinary start of the same file.
  SHELLEXECUTEINFOA plain = *info;
  plain.lpVerb = nullptr;
  const BOOL started = ::ShellExecuteExA(&plain);
  info->hProcess = plain.hProcess;
  info->hInstApp = plain.hInstApp;
  return started;
}

// Fresh seam state and the calls that record into it: a CreateProcessA that answers
// ERROR_ELEVATION_REQUIRED (or, when no elevation is required, the real start after the probe)
// and a ShellExecuteExA that elevates as Wine can.
InstallerProcessApi SeamProcessApi(bool elevationRequired = true) {
  g_seam = SeamState();
  return {elevationRequired ? &CreateProcessNeedingElevation : &CreateProcessAfterAProbe,
          &ShellExecuteAsIfElevated};
}

// A scratch directory (its name has spaces) with copies of the stand-in installer.
class InstallerProcessTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(m_scratch.created()); }

  // A copy of the stand-in installer at `relativePath`; its record goes beside it.
  std::string PlaceInstaller(const std::string& relativePath) {
    const std::string path = m_directory + relativePath;
    EXPECT_TRUE(::CopyFileA((GetModuleDir() + "fake_installer.exe").c_str(), path.c_str(), FALSE));
    return path;
  }
  static std::string RecordOf(const std::string& exePath) {
    return exePath.substr(0, exePath.rfind('.')) + ".record";
  }

  static DWORD WaitAndExitCode(HANDLE process) {
    EXPECT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(process, 20000));
    DWORD code = 0;
    ::GetExitCodeProcess(process, &code);
    return code;
  }

  ScratchDirectory m_scratch{"zu installer process test"};
  const std::string m_directory = m_scratch.path() + "\\";
};

TEST_F(InstallerProcessTest, QuotedPathStartsTheInstallerNotADecoyAtThePathsFirstWord) {
  // Unquoted, "...\zu installer process test\Zu Launcher\Setup.exe /S" would first be read
  // as the program "...\zu installer process test\Zu.exe".
  ASSERT_TRUE(::CreateDirectoryA((m_directory + "Zu Launcher").c_str(), nullptr));
  const std::string decoy = PlaceInstaller("Zu.exe");
  const std::string installer = PlaceInstaller("Zu Launcher\\ZuLauncherTempSetup.exe");
  UniqueKernelHandle process;
  ASSERT_TRUE(StartInstallerProcess(installer, "/S", nullptr, process));
  ASSERT_TRUE(process);
  WaitAndExitCode(process.get());
  EXPECT_TRUE(FileExists(RecordOf(installer)));
  EXPECT_FALSE(FileExists(RecordOf(decoy))) << "the decoy ran: the path was not quoted";
  EXPECT_EQ("/S", fake_installer::ReadRecord(RecordOf(installer))["ARGUMENTS"]);
}

TEST_F(InstallerProcessTest, MissingInstallerIsNotStartedAndNotRetried) {
  UniqueKernelHandle process;
  EXPECT_FALSE(StartInstallerProcess(m_directory + "absent.exe", "/S", nullptr, process));
  EXPECT_FALSE(process);
}

TEST_F(InstallerProcessTest, ElevationRequiredIsRetriedThroughRunasWithTheSameStart) {
  const std::string installer = PlaceInstaller("ZuLauncherTempSetup.exe");
  ASSERT_TRUE(fake_installer::WriteSettings(installer, {{"EXIT_CODE", "5"}}));
  const InstallerProcessApi seam = SeamProcessApi();
  UniqueKernelHandle process;
  HWND owner = ::GetDesktopWindow();
  ASSERT_TRUE(StartInstallerProcess(installer, "/A", owner, process, seam));
  ASSERT_TRUE(process) << "a process handle to wait on";
  EXPECT_EQ(5u, WaitAndExitCode(process.get()));

  EXPECT_EQ(1, g_seam.createProcessCalls);
  EXPECT_EQ("\"" + installer + "\" /A", g_seam.commandLine);
  EXPECT_EQ(1, g_seam.shellExecuteCalls);
  EXPECT_EQ("runas", g_seam.verb);
  EXPECT_EQ(installer, g_seam.file);
  EXPECT_EQ("/A", g_seam.parameters);
  EXPECT_EQ(CurrentDirectory(), g_seam.directory);
  EXPECT_TRUE(g_seam.mask & SEE_MASK_NOCLOSEPROCESS);
  EXPECT_EQ(owner, g_seam.owner);
  fake_installer::Record record = fake_installer::ReadRecord(RecordOf(installer));
  EXPECT_EQ("/A", record["ARGUMENTS"]);
  EXPECT_EQ(CurrentDirectory(), record["CURRENT_DIR"]);
}

TEST_F(InstallerProcessTest, RefusedElevationAndOtherFailuresAreNotStarted) {
  const std::string installer = PlaceInstaller("ZuLauncherTempSetup.exe");
  struct Row {
    DWORD createProcessError;
    bool elevationGranted;
    int shellExecuteCalls;
    const char* shows;
  } rows[] = {
      {kErrorElevationRequired, false, 1, "elevation refused"},
      {ERROR_ACCESS_DENIED, true, 0, "access denied is not an elevation request"},
      {ERROR_BAD_EXE_FORMAT, true, 0, "not a program"},
  };
  for (const Row& row : rows) {
    const InstallerProcessApi seam = SeamProcessApi();
    g_seam.createProcessError = row.createProcessError;
    g_seam.elevationGranted = row.elevationGranted;
    UniqueKernelHandle process;
    EXPECT_FALSE(StartInstallerProcess(installer, "/S", nullptr, process, seam)) << row.shows;
    EXPECT_FALSE(process) << row.shows;
    EXPECT_EQ(row.shellExecuteCalls, g_seam.shellExecuteCalls) << row.shows;
  }
  EXPECT_FALSE(FileExists(RecordOf(installer))) << "never ran";
}

TEST_F(InstallerProcessTest, StandInInstallerRecordsInstallsAndExitsWithItsCode) {
  const std::string installer = PlaceInstaller("fake installer.exe");
  const std::string record = m_directory + "elsewhere.record";
  const std::string programIni = m_directory + "program.ini";
  ASSERT_TRUE(fake_installer::WriteSettings(installer, {{"EXIT_CODE", "9"}, {"VERSION", "2"}}));
  const ScratchRegistryKey registry("installer");
  const std::string valuePath = registry.ValuePath("InstallDir");
  std::string commandLine = "\"" + installer + "\" /S \"RECORD_FILE=" + record +
                            "\" \"PROGRAM_INI=" + programIni + "\" MINORVERSION=7 EXIT_CODE=4" +
                            " REGISTRY_PATH=" + valuePath + " \"REGISTRY_VALUE=C:\\Zu Test\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION created{};
  std::vector<char> line(commandLine.begin(), commandLine.end());
  line.push_back('\0');
  ASSERT_TRUE(::CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               m_directory.c_str(), &startup, &created));
  UniqueKernelHandle process(created.hProcess);
  UniqueKernelHandle thread(created.hThread);
  EXPECT_EQ(4u, WaitAndExitCode(process.get())) << "the command line wins over the INI";

  fake_installer::Record written = fake_installer::ReadRecord(record);
  EXPECT_EQ(commandLine, written["COMMAND_LINE"]);
  EXPECT_EQ("/S", written["ARGUMENTS"]);
  EXPECT_EQ(m_directory.substr(0, m_directory.size() - 1), written["CURRENT_DIR"]);
  EXPECT_EQ(installer, written["PROGRAM_PATH"]);
  EXPECT_EQ(2,
            static_cast<int>(::GetPrivateProfileIntA("GENERAL", "VERSION", 0, programIni.c_str())));
  EXPECT_EQ(7, static_cast<int>(
                   ::GetPrivateProfileIntA("GENERAL", "MINORVERSION", 0, programIni.c_str())));
  char value[MAX_PATH] = {};
  DWORD size = sizeof value;
  EXPECT_EQ(ERROR_SUCCESS, ::RegGetValueA(HKEY_CURRENT_USER, registry.subkey().c_str(),
                                          "InstallDir", RRF_RT_REG_SZ, nullptr, value, &size));
  EXPECT_STREQ("C:\\Zu Test", value);
}

// Through the dialog: an installer that demands elevation still runs, the file that was checked
// against DOWN_SIZE and DOWN_SHA256, and a refused elevation is an installer that could not be
// started. Either way, another process that tries to write or delete the file just before the
// start is refused (32: sharing violation).
TEST_F(SetupDownloadDialogTest, ElevationRequiredInstallerRunsThroughTheFallback) {
  Sha256Digest digest{};
  ASSERT_TRUE(HashBytesSha256(m_installerBytes, digest));
  const std::string probeRecord = GetTempDir() + "zu_write_probe.record";
  for (const bool granted : {true, false}) {
    SCOPED_TRACE(granted ? "elevation granted" : "elevation refused");
    ::DeleteFileA(m_recordPath.c_str());
    ::DeleteFileA(probeRecord.c_str());
    const InstallerProcessApi seam = SeamProcessApi();
    g_seam.elevationGranted = granted;
    g_seam.probeRecord = probeRecord;
    InstallerRequest installer = Request(InstallerUrl(), "/S");
    installer.downSize = std::to_string(m_installerSize);
    installer.downSha256 = FormatSha256Hex(digest);
    ObservedSetupDownloadDlg dialog(installer, seam);
    std::string boxText;
    const INT_PTR end = Run(dialog, [&] {
      HWND window = WaitForDialog();
      if (!window) return Fail("no dialog");
      if (granted) return WaitGone(window);
      HWND box = WaitForBox();
      if (!box) return Fail("no box");
      boxText = ItemText(box, IDC_MD_TEXT);
      CloseMessageBox(box);
      return WaitGone(window);
    });
    EXPECT_EQ(1, g_seam.shellExecuteCalls);
    EXPECT_EQ("runas", g_seam.verb);
    EXPECT_EQ(dialog.SetupPath(), g_seam.file);
    EXPECT_EQ("/S", g_seam.parameters);
    EXPECT_NE(nullptr, g_seam.owner) << "the dialog owns the elevation prompt";
    fake_installer::Record probe = fake_installer::ReadRecord(probeRecord);
    EXPECT_EQ("32", probe["WRITE_PROBE_ERROR"]) << "no writer while the checked file starts";
    EXPECT_EQ("32", probe["DELETE_PROBE_ERROR"]) << "no swap either";
    if (granted) {
      EXPECT_EQ(1, end);
      fake_installer::Record record = fake_installer::ReadRecord(m_recordPath);
      EXPECT_EQ("/S", record["ARGUMENTS"]);
      EXPECT_EQ(dialog.SetupPath(), record["PROGRAM_PATH"]);
    } else {
      EXPECT_EQ(2, end);
      EXPECT_EQ(m_textCannotStart, boxText);
      EXPECT_FALSE(FileExists(m_recordPath));
    }
    EXPECT_FALSE(FileExists(dialog.SetupPath())) << "removed in both cases";
  }
  ::DeleteFileA(probeRecord.c_str());
}

// The plain start: another process that tries to open the checked installer for writing, or
// to delete it, between the check and the start is refused, and the installer runs.
TEST_F(SetupDownloadDialogTest, WriterIsRefusedWhileTheCheckedInstallerStarts) {
  const std::string probeRecord = GetTempDir() + "zu_write_probe.record";
  ::DeleteFileA(probeRecord.c_str());
  const InstallerProcessApi seam = SeamProcessApi(false);
  g_seam.probeRecord = probeRecord;
  InstallerRequest installer = Request(InstallerUrl(), "/S");
  installer.downSize = std::to_string(m_installerSize);
  ObservedSetupDownloadDlg dialog(installer, seam);
  const INT_PTR end = Run(dialog, [&] { return NoBoxUntilEnded(); });
  EXPECT_EQ(1, end);
  EXPECT_EQ(1, g_seam.createProcessCalls);
  fake_installer::Record probe = fake_installer::ReadRecord(probeRecord);
  // Refused for its access (the file is read-only: Windows, or Wine run by a standard user)
  // or, where that binds nobody (Wine run by root), for its sharing.
  const std::set<std::string> refusals = {"5", "32"};
  EXPECT_EQ(1u, refusals.count(probe["WRITE_PROBE_ERROR"])) << probe["WRITE_PROBE_ERROR"];
  EXPECT_EQ(1u, refusals.count(probe["DELETE_PROBE_ERROR"])) << probe["DELETE_PROBE_ERROR"];
  EXPECT_EQ(dialog.SetupPath(), fake_installer::ReadRecord(m_recordPath)["PROGRAM_PATH"]);
  ::DeleteFileA(probeRecord.c_str());
}

}  // namespace
