// run, checkversion, install, forceinstall and forcerun end to end: version checks, the
// installation through the download dialog and a stand-in or a real NSIS installer, the start
// of the program, and every result code a request can reach. Runs in code page 1251.
#include <gtest/gtest.h>

#include <thread>

#include "env/directories_win.h"
#include "tests/app/launcher_fixture_win.h"
#include "tests/support/private_download_folders_win.h"

namespace {

using e2e::Keys;
using e2e::LauncherCase;
using e2e::Parameter;
using e2e::Text;

// Serves nothing over the network: the local copy is fresh.
void WriteFreshVersionFile(const LauncherCase& test, const std::string& body) {
  test.workspace.WriteLauncherIni(test_http::RefusedUrl("/version.ini"));
  test.workspace.WriteLocalVersionFile(body);
}

Keys Without(Keys keys, const std::string& name) {
  for (auto it = keys.begin(); it != keys.end(); ++it) {
    if (it->first == name) {
      keys.erase(it);
      break;
    }
  }
  return keys;
}

Keys With(Keys keys, const std::string& name, const std::string& value) {
  for (auto& key : keys) {
    if (key.first == name) key.second = value;
  }
  return keys;
}

std::string Command(const std::string& command, const std::string& extra = "") {
  return Parameter("Command='" + command + "' ProgramID='PROG' SilentMessage='0' " + extra);
}

void ExpectOneBox(const LauncherOutcome& outcome, Outcome expected) {
  ASSERT_FALSE(outcome.boxes.empty()) << "no box";
  EXPECT_EQ(e2e::CaptionOf(expected), outcome.boxes.back().caption);
  EXPECT_EQ(e2e::TextOf(expected), outcome.boxes.back().text);
}

TEST(LauncherCheckVersionCp1251, ComparesWithoutInstallingOrStarting) {
  struct Case {
    const char* what;
    int localVersion, localMinor;  // 0: not installed
    int serverVersion, serverMinor;
    const char* extra;
    Outcome expected;
  };
  const Case cases[] = {
      {"not installed", 0, 0, 5, 0, "", Outcome::NotInstalled},
      {"older major", 4, 9, 5, 0, "", Outcome::OlderMajorInstalled},
      {"older minor with CheckMinorVersion", 5, 1, 5, 2, "CheckMinorVersion='1'", Outcome::OlderMinorInstalled},
      {"older minor ignored without it", 5, 1, 5, 2, "", Outcome::NewestInstalled},
      {"current", 5, 2, 5, 2, "CheckMinorVersion='1'", Outcome::NewestInstalled},
      {"newer major, lower minor, checked", 6, 0, 5, 3, "CheckMinorVersion='1'", Outcome::OlderMinorInstalled},
      {"newer major, unchecked", 6, 0, 5, 3, "", Outcome::NewestInstalled},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    LauncherCase test("CheckVersion");
    if (c.localVersion) test.InstallProgram(c.localVersion, c.localMinor);
    WriteFreshVersionFile(test, LauncherCase::VersionFile(test.ProgramKeys(c.serverVersion, c.serverMinor)));
    const LauncherOutcome outcome = test.workspace.Run(Command("checkversion", c.extra));
    ExpectReported(outcome, c.expected);
    ExpectOneBox(outcome, c.expected);
    EXPECT_TRUE(HasLogLine(outcome, "val_update : " + std::to_string(CodeOf(c.expected))));
    EXPECT_FALSE(fake_installer::FileExists(test.ProgramRecord())) << "nothing started";
    EXPECT_FALSE(test.workspace.Exists("ZuLauncherTempSetup.exe")) << "nothing downloaded";
  }
}

TEST(LauncherVersionFileCp1251, DataVersionIsCheckedBeforeAnyProgramData) {
  struct Case {
    const char* command;
    std::string dataVersion;
    Outcome expected;
  };
  const Case cases[] = {
      {"run", "", Outcome::NoDataVersion},          {"checkversion", "", Outcome::NoDataVersion}, {"install", "", Outcome::NoDataVersion},
      {"forceinstall", "", Outcome::NoDataVersionForced}, {"forcerun", "", Outcome::NoDataVersionForced},     {"run", "1001", Outcome::WrongDataVersion},
      {"forcerun", "999", Outcome::WrongDataVersion},  {"checkversion", "01000", Outcome::WrongDataVersion},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.command) + " '" + c.dataVersion + "'");
    LauncherCase test("DataVersion");
    WriteFreshVersionFile(test, LauncherCase::VersionFile({}, c.dataVersion));
    const LauncherOutcome outcome = test.workspace.Run(Command(c.command));
    ExpectReported(outcome, c.expected);
    ExpectOneBox(outcome, c.expected);
  }
}

TEST(LauncherRunCp1251, MissingProgramIdFailsEveryProgramCommand) {
  for (const char* command : {"run", "checkversion", "install", "forceinstall", "forcerun"}) {
    SCOPED_TRACE(command);
    LauncherCase test("NoProgramId");
    WriteFreshVersionFile(test, LauncherCase::VersionFile(test.ProgramKeys(5, 0)));
    const LauncherOutcome outcome =
        test.workspace.Run(Parameter(std::string("Command='") + command + "' SilentMessage='0'"));
    ExpectReported(outcome, Outcome::NoProgramId);
    ExpectOneBox(outcome, Outcome::NoProgramId);
  }
}

TEST(LauncherRunCp1251, CurrentProgramIsStartedWithItsQuotedPathAndParameters) {
  LauncherCase test("RunCurrent");
  test.InstallProgram(5, 0);
  WriteFreshVersionFile(test, LauncherCase::VersionFile(test.ProgramKeys(5, 0)));
  const LauncherOutcome outcome =
      test.workspace.Run(Command("run", "LaunchParam='-x &quot;a b&quot; it&apos;s'"));
  ExpectReported(outcome, Outcome::Started);
  EXPECT_TRUE(outcome.boxes.empty()) << "success without a text shows nothing";
  // The launcher does not wait for the program; give it a moment to write its record.
  for (int attempt = 0; attempt < 40 && !fake_installer::FileExists(test.ProgramRecord()); ++attempt)
    ::Sleep(50);
  ASSERT_TRUE(fake_installer::FileExists(test.ProgramRecord()));
  const fake_installer::Record record = fake_installer::ReadRecord(test.ProgramRecord());
  const std::string exe = test.ProgramDir() + "\\prog.exe";
  EXPECT_EQ("\"" + exe + "\" -x \"a b\" it's", record.at("COMMAND_LINE"));
  EXPECT_EQ(test.ProgramDir(), record.at("CURRENT_DIR"));
  EXPECT_TRUE(HasLogLine(outcome, "ulbax run param: \"" + exe + "\" -x \"a b\" it's -x \"a b\" it's"));
  EXPECT_FALSE(test.workspace.Exists("ZuLauncherTempSetup.exe")) << "nothing was installed";
}

TEST(LauncherRunCp1251, WithoutLaunchParamTheCommandLineEndsInABlank) {
  LauncherCase test("RunNoParam");
  test.InstallProgram(5, 0);
  WriteFreshVersionFile(test, LauncherCase::VersionFile(test.ProgramKeys(5, 0)));
  const LauncherOutcome outcome = test.workspace.Run(Command("run"));
  ExpectReported(outcome, Outcome::Started);
  const std::string exe = test.ProgramDir() + "\\prog.exe";
  EXPECT_TRUE(HasLogLine(outcome, "ulbax run param: \"" + exe + "\"  "));
}

TEST(LauncherRunCp1251, LookupFailuresOfAForcedInstallation) {
  ASSERT_TRUE(test_http::Running());
  struct Case {
    const char* what;
    Keys (*edit)(const Keys&);
    bool registers;
    int installedVersion;
    Outcome expected;
  };
  const Case cases[] = {
      {"no PATH_REG", [](const Keys& k) { return Without(k, "PATH_REG"); }, true, 5, Outcome::NoPathReg},
      {"installer registers nothing", [](const Keys& k) { return k; }, false, 5, Outcome::NoInstallDir},
      {"no EXE_NAME", [](const Keys& k) { return Without(k, "EXE_NAME"); }, true, 5, Outcome::NoExeName},
      {"no INI_FILE_NAME", [](const Keys& k) { return Without(k, "INI_FILE_NAME"); }, true, 5, Outcome::NoIniFileName},
      {"program INI without VERSION", [](const Keys& k) { return With(k, "INI_FILE_NAME", "other.ini"); },
       true, 5, Outcome::NoLocalVersion},
      {"server VERSION 0", [](const Keys& k) { return With(k, "VERSION", "0"); }, true, 5, Outcome::NoServerVersion},
      {"still older after installing", [](const Keys& k) { return k; }, true, 4, Outcome::StillOlderAfterForcedInstall},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    LauncherCase test("ForceLookup");
    test.ServeInstaller(c.installedVersion, c.registers);
    WriteFreshVersionFile(test, LauncherCase::VersionFile(c.edit(test.ProgramKeys(5, 0))));
    const LauncherOutcome outcome = test.workspace.Run(Command("forcerun"));
    ExpectReported(outcome, c.expected);
    ExpectOneBox(outcome, c.expected);
    EXPECT_TRUE(HasLogLine(outcome, "val_forcerun : " + std::to_string(CodeOf(c.expected))));
    EXPECT_TRUE(fake_installer::FileExists(test.InstallerRecord())) << "the installer ran first";
  }
}

TEST(LauncherRunCp1251, RunInstallsAMissingProgramThenStartsIt) {
  ASSERT_TRUE(test_http::Running());
  LauncherCase test("RunInstalls");
  test.ServeInstaller(5);
  WriteFreshVersionFile(test, LauncherCase::VersionFile(test.ProgramKeys(5, 0)));
  const LauncherOutcome outcome = test.workspace.Run(Command("run", "SilentInstall='1' AutoInstall='1'"));
  ExpectReported(outcome, Outcome::Started);
  const fake_installer::Record installer = fake_installer::ReadRecord(test.InstallerRecord());
  EXPECT_EQ("/S", installer.at("ARGUMENTS"));
  for (int attempt = 0; attempt < 40 && !fake_installer::FileExists(test.ProgramRecord()); ++attempt)
    ::Sleep(50);
  EXPECT_TRUE(fake_installer::FileExists(test.ProgramRecord())) << "the program was started";
  EXPECT_TRUE(private_download::NoneLeft()) << "the installer and its folder are removed";
}

// Two launchers installing two programs at the same time (two programs of one host): each
// downloads into a private folder of its own, checks its installer against the version file's
// DOWN_SIZE and DOWN_SHA256 and runs it, and neither leaves anything behind.
TEST(LauncherRunCp1251, TwoLaunchersInstallingAtOnceEachRunTheirOwnCheckedInstaller) {
  ASSERT_TRUE(test_http::Running());
  LauncherCase first("TwoAtOnceFirst"), second("TwoAtOnceSecond");
  for (LauncherCase* test : {&first, &second}) {
    test->ServeInstaller(5);
    const fake_installer::DownKeys down =
        fake_installer::DownKeysOf(e2e::ServedPath(test->name, "setup.exe"));
    // Each download lasts about two seconds, so the two overlap.
    const std::string rate = std::to_string(std::stoll(down.size) / 2);
    Keys keys = With(test->ProgramKeys(5, 0), "DOWN_URL",
                     e2e::ServedUrl(test->name, "setup.exe?rate=" + rate));
    keys.push_back({"DOWN_SIZE", down.size});
    keys.push_back({"DOWN_SHA256", down.sha256});
    WriteFreshVersionFile(*test, LauncherCase::VersionFile(keys));
  }
  LauncherOutcome outcomes[2];
  const DWORD start = ::GetTickCount();
  std::thread other([&] { outcomes[1] = second.workspace.Run(Command("run", "SilentInstall='1'")); });
  outcomes[0] = first.workspace.Run(Command("run", "SilentInstall='1'"));
  other.join();
  const DWORD both = ::GetTickCount() - start;
  std::string installerPaths[2];
  int index = 0;
  for (const LauncherCase* test : {&first, &second}) {
    SCOPED_TRACE(test->name);
    const LauncherOutcome& outcome = outcomes[index];
    EXPECT_EQ(0, outcome.exitCode) << outcome.hostOutput;
    EXPECT_EQ(0, outcome.postedCode);
    EXPECT_TRUE(outcome.boxes.empty());
    fake_installer::Record record = fake_installer::ReadRecord(test->InstallerRecord());
    installerPaths[index] = record["PROGRAM_PATH"];
    EXPECT_EQ(GetTempDir() + "ZuSetup-", installerPaths[index].substr(0, GetTempDir().size() + 8));
    EXPECT_EQ(test->workspace.Dir(), record["CURRENT_DIR"] + "\\") << "its own launcher's";
    EXPECT_GE(outcome.milliseconds, 1500u);
    ++index;
  }
  EXPECT_NE(installerPaths[0], installerPaths[1]) << "each its own file";
  EXPECT_LT(both + 1000, outcomes[0].milliseconds + outcomes[1].milliseconds) << "they overlapped";
  EXPECT_TRUE(private_download::NoneLeft());
}

TEST(LauncherRunCp1251, OutcomesOfAnInstallationThatDoesNotBringThePlainProgramUp) {
  ASSERT_TRUE(test_http::Running());
  struct Case {
    const char* what;
    const char* command;
    int installsVersion;
    Outcome expected;
  };
  const Case cases[] = {
      {"run: installer leaves the old version", "run", 4, Outcome::StillOlderAfterInstall},
      {"install: installer leaves the old version", "install", 4, Outcome::StillOlderAfterInstall},
      {"install: installer brings the new version", "install", 5, Outcome::Installed},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    LauncherCase test("InstallOutcome");
    test.InstallProgram(4, 0);
    test.ServeInstaller(c.installsVersion);
    WriteFreshVersionFile(test, LauncherCase::VersionFile(test.ProgramKeys(5, 0)));
    const LauncherOutcome outcome = test.workspace.Run(Command(c.command));
    ExpectReported(outcome, c.expected);
    ExpectOneBox(outcome, c.expected);
    EXPECT_EQ("", fake_installer::ReadRecord(test.InstallerRecord()).at("ARGUMENTS"));
  }
}

TEST(LauncherRunCp1251, InstallWithACurrentProgramInstallsNothing) {
  LauncherCase test("InstallCurrent");
  test.InstallProgram(5, 0);
  WriteFreshVersionFile(test, LauncherCase::VersionFile(test.ProgramKeys(5, 0)));
  const LauncherOutcome outcome = test.workspace.Run(Command("install"));
  ExpectReported(outcome, Outcome::Installed);
  ExpectOneBox(outcome, Outcome::Installed);
  EXPECT_TRUE(HasLogLine(outcome, "val_install : " + std::to_string(CodeOf(Outcome::Installed))));
  EXPECT_FALSE(fake_installer::FileExists(test.InstallerRecord()));
  EXPECT_FALSE(fake_installer::FileExists(test.ProgramRecord()));
}

TEST(LauncherRunCp1251, ForceinstallOnACurrentProgramStillRunsTheInstaller) {
  ASSERT_TRUE(test_http::Running());
  LauncherCase test("ForceInstallCurrent");
  test.InstallProgram(5, 0);
  test.ServeInstaller(5);
  WriteFreshVersionFile(test, LauncherCase::VersionFile(test.ProgramKeys(5, 0)));
  const LauncherOutcome outcome = test.workspace.Run(Command("forceinstall", "AutoInstall='1'"));
  ExpectReported(outcome, Outcome::Installed);
  ExpectOneBox(outcome, Outcome::Installed);
  EXPECT_TRUE(HasLogLine(outcome, "val_forceinstall : " + std::to_string(CodeOf(Outcome::Installed))));
  EXPECT_EQ("/A", fake_installer::ReadRecord(test.InstallerRecord()).at("ARGUMENTS"));
  EXPECT_FALSE(fake_installer::FileExists(test.ProgramRecord())) << "forceinstall starts nothing";
}

TEST(LauncherRunCp1251, InstallationFailures) {
  ASSERT_TRUE(test_http::Running());
  struct Case {
    const char* what;
    const char* command;
    Keys (*edit)(const Keys&);
    Outcome expected;
  };
  const Case cases[] = {
      {"run: unlisted program has no NAME or DOWN_URL", "run",
       [](const Keys&) { return Keys{{"OTHER", "1"}}; }, Outcome::NoInstallInformation},
      {"forceinstall: no NAME", "forceinstall", [](const Keys& k) { return Without(k, "NAME"); }, Outcome::NoInstallInformation},
      {"run: installer answers 404", "run",
       [](const Keys& k) { return With(k, "DOWN_URL", test_http::Url("/files/none/setup.exe")); }, Outcome::InstallFailed},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    LauncherCase test("InstallFails");
    WriteFreshVersionFile(test, LauncherCase::VersionFile(c.edit(test.ProgramKeys(5, 0))));
    const LauncherOutcome outcome = test.workspace.Run(Command(c.command));
    ExpectReported(outcome, c.expected);
    ExpectOneBox(outcome, c.expected);
  }
}

TEST(LauncherRunCp1251, ATransferErrorShowsTheDialogsBoxBeforeTheOutcome) {
  ASSERT_TRUE(test_http::Running());
  LauncherCase test("TransferError");
  WriteFreshVersionFile(test, LauncherCase::VersionFile(
                                  With(test.ProgramKeys(5, 0), "DOWN_URL", test_http::Url("/bytes/10?status=500"))));
  const LauncherOutcome outcome = test.workspace.Run(Command("run"));
  ExpectReported(outcome, Outcome::InstallFailed);
  ASSERT_EQ(2u, outcome.boxes.size());
  EXPECT_EQ(Text(TextId::TransferErrorBox), outcome.boxes[0].text) << "the dialog's own transfer error";
  EXPECT_EQ(e2e::TextOf(Outcome::InstallFailed), outcome.boxes[1].text);
}

TEST(LauncherRunCp1251, CancellingTheDownloadGivesCodeSix) {
  ASSERT_TRUE(test_http::Running());
  LauncherCase test("Cancel");
  WriteFreshVersionFile(test, LauncherCase::VersionFile(With(
                                  test.ProgramKeys(5, 0), "DOWN_URL", test_http::Url("/bytes/400000?rate=20000"))));
  RunOptions options;
  options.cancelDownloadAfterMilliseconds = 1500;  // well after the start message
  const LauncherOutcome outcome = test.workspace.Run(Command("forcerun"), options);
  ExpectReported(outcome, Outcome::InstallCancelled);
  ASSERT_EQ(2u, outcome.boxes.size());
  EXPECT_EQ(Text(TextId::ConfirmCancel), outcome.boxes[0].text) << "the confirmation, answered Yes";
  EXPECT_EQ(e2e::TextOf(Outcome::InstallCancelled), outcome.boxes[1].text);
}

TEST(LauncherRunCp1251, RunInstallsTheRealDemoProgramThroughItsNsisInstaller) {
  ASSERT_TRUE(test_http::Running());
  const std::string setup = TestProgramDir() + "zu_demo_setup.exe";
  if (!fake_installer::FileExists(setup)) GTEST_SKIP() << "makensis was not available";
  LauncherCase test("NsisDemo");
  ::RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\ZuDemo");
  ::CopyFileA(setup.c_str(), e2e::ServedPath(test.name, "zu_demo_setup.exe").c_str(), FALSE);
  WriteFreshVersionFile(test, e2e::Section("GENERAL", {{"ZULAUNCHER_VERSION", "1000"}}) +
                                  e2e::Section("ZUDEMO", {{"NAME", "ZU Demo"},
                                                          {"DOWN_URL", e2e::ServedUrl(test.name, "zu_demo_setup.exe")},
                                                          {"PATH_REG", "HKEY_CURRENT_USER\\Software\\ZuDemo\\InstallDir"},
                                                          {"EXE_NAME", "zu_demo.exe"},
                                                          {"INI_FILE_NAME", "zu_demo.ini"},
                                                          {"VERSION", "1"}}));
  const LauncherOutcome outcome = test.workspace.Run(
      Parameter("Command='run' ProgramID='ZUDEMO' SilentMessage='0' SilentInstall='1' LaunchParam='--e2e'"));
  ExpectReported(outcome, Outcome::Started);
  EXPECT_TRUE(outcome.boxes.empty());

  char installDir[MAX_PATH] = {};
  DWORD size = sizeof installDir;
  ASSERT_EQ(ERROR_SUCCESS, ::RegGetValueA(HKEY_CURRENT_USER, "Software\\ZuDemo", "InstallDir",
                                          RRF_RT_REG_SZ, nullptr, installDir, &size));
  EXPECT_EQ(1, static_cast<int>(::GetPrivateProfileIntA("GENERAL", "VERSION", 0,
                                                        (std::string(installDir) + "\\zu_demo.ini").c_str())));
  HWND demo = nullptr;
  for (int attempt = 0; attempt < 50 && !demo; ++attempt, ::Sleep(100))
    demo = ::FindWindowA("ZuDemoWindow", nullptr);
  ASSERT_NE(nullptr, demo) << "the demo program's window appeared";
  ::PostMessageA(demo, WM_CLOSE, 0, 0);

  // A second run finds the program current and only starts it.
  auto installerDownloads = [] {
    size_t count = 0;
    for (const auto& request : test_http::RecordedRequests(""))
      count += request.target.find("NsisDemo/zu_demo_setup.exe") != std::string::npos;
    return count;
  };
  EXPECT_EQ(1u, installerDownloads());
  const LauncherOutcome second =
      test.workspace.Run(Parameter("Command='run' ProgramID='ZUDEMO' SilentMessage='0'"));
  ExpectReported(second, Outcome::Started);
  demo = nullptr;
  for (int attempt = 0; attempt < 50 && !demo; ++attempt, ::Sleep(100))
    demo = ::FindWindowA("ZuDemoWindow", nullptr);
  ASSERT_NE(nullptr, demo);
  ::PostMessageA(demo, WM_CLOSE, 0, 0);
  EXPECT_EQ(1u, installerDownloads()) << "nothing downloaded the second time";
  ::RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\ZuDemo");
}

TEST(LauncherRunCp1251, AProgramThatCannotBeStartedGivesFourteen) {
  LauncherCase test("StartFails");
  test.InstallProgram(5, 0);
  ::DeleteFileA((test.ProgramDir() + "\\prog.exe").c_str());
  WriteFreshVersionFile(test, LauncherCase::VersionFile(test.ProgramKeys(5, 0)));
  const LauncherOutcome outcome = test.workspace.Run(Command("run"));
  ExpectReported(outcome, Outcome::ProgramNotStarted);
  ExpectOneBox(outcome, Outcome::ProgramNotStarted);
}

}  // namespace
