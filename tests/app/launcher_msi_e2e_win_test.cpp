// A Windows Installer package end to end: `run` downloads the package that the build made with
// wixl (msi_program.wxs: the stand-in program, its INI, its registry value), has the system's
// msiexec install it and starts the program; a package that is not the one DOWN_SHA256 names
// is never handed to msiexec.
#include <gtest/gtest.h>

#include "tests/app/launcher_fixture_win.h"
#include "tests/support/private_download_folders_win.h"
#include "tests/support/process_runner_win.h"

namespace {

using e2e::LauncherCase;
using e2e::Parameter;

constexpr char kRegistryKey[] = "Software\\ZuMsiTestProgram";

std::string Msiexec() {
  char directory[MAX_PATH] = {};
  ::GetSystemDirectoryA(directory, sizeof directory);
  return std::string(directory) + "\\msiexec.exe";
}

// The package's install directory as it registered it; empty when it is not installed.
std::string InstalledDir() {
  char dir[MAX_PATH] = {};
  DWORD size = sizeof dir;
  if (::RegGetValueA(HKEY_CURRENT_USER, kRegistryKey, "InstallDir", RRF_RT_REG_SZ, nullptr, dir,
                     &size) != ERROR_SUCCESS)
    return std::string();
  return dir;
}

class LauncherMsiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(test_http::Running());
    if (!fake_installer::FileExists(m_package)) GTEST_SKIP() << "wixl was not available";
    Uninstall();
  }
  void TearDown() override {
    if (fake_installer::FileExists(m_package)) Uninstall();
  }
  // Whatever an earlier run left: the product, its registry value, the program's record.
  void Uninstall() {
    const std::string dir = InstalledDir();
    if (!dir.empty()) ::DeleteFileA((dir + "\\prog.record").c_str());
    RunAndWait("\"" + Msiexec() + "\" /x \"" + m_package + "\" /qn", TestProgramDir());
    ::RegDeleteTreeA(HKEY_CURRENT_USER, kRegistryKey);
  }
  // The version file offering the package, served as `servedAs` (setup.msi unless told).
  void Offer(const LauncherCase& test, e2e::Keys extra = {},
             const std::string& servedAs = "setup.msi", const std::string& query = "") {
    ::CopyFileA(m_package.c_str(), e2e::ServedPath(test.name, servedAs).c_str(), FALSE);
    e2e::Keys keys = {
        {"NAME", "Zu Msi Test Program"},
        {"DOWN_URL", e2e::ServedUrl(test.name, servedAs + query)},
        {"PATH_REG", std::string("HKEY_CURRENT_USER\\") + kRegistryKey + "\\InstallDir"},
        {"EXE_NAME", "prog.exe"},
        {"INI_FILE_NAME", "prog.ini"},
        {"VERSION", "5"}};
    keys.insert(keys.end(), extra.begin(), extra.end());
    test.workspace.WriteLauncherIni(test_http::RefusedUrl("/version.ini"));
    test.workspace.WriteLocalVersionFile(LauncherCase::VersionFile(keys));
  }

  const std::string m_package = TestProgramDir() + "msi_program.msi";
};

TEST_F(LauncherMsiTest, RunInstallsThePackageThroughMsiexecAndStartsTheProgram) {
  struct Row {
    const char* what;
    const char* settings;
    e2e::Keys extra;
    const char* servedAs;
    const char* query;
  } rows[] = {
      {"silent, known by its path", "SilentInstall='1'", {}, "setup.msi", ""},
      {"passive, known by INSTALLER_TYPE",
       "AutoInstall='1'",
       {{"INSTALLER_TYPE", "msi"}},
       "package",
       "?id=7"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    Uninstall();
    LauncherCase test(std::string("Msi") + (row.extra.empty() ? "Silent" : "Passive"));
    Offer(test, row.extra, row.servedAs, row.query);
    const LauncherOutcome outcome = test.workspace.Run(
        Parameter(std::string("Command='run' ProgramID='PROG' SilentMessage='0' ") + row.settings));
    ExpectReported(outcome, Outcome::Started);
    EXPECT_TRUE(outcome.boxes.empty());
    const std::string dir = InstalledDir();
    ASSERT_FALSE(dir.empty()) << "msiexec wrote the package's registry value";
    EXPECT_EQ(5, static_cast<int>(::GetPrivateProfileIntA("GENERAL", "VERSION", 0,
                                                          (dir + "\\prog.ini").c_str())));
    bool started = false;
    for (int attempt = 0; attempt < 40 && !started; ++attempt, ::Sleep(50))
      started = fake_installer::FileExists(dir + "\\prog.record");
    EXPECT_TRUE(started) << "the installed program was started";
    EXPECT_TRUE(private_download::NoneLeft()) << "the package and its folder are removed";
  }
}

TEST_F(LauncherMsiTest, APackageThatIsNotThePinnedOneIsNeverInstalled) {
  LauncherCase test("MsiChanged");
  const fake_installer::DownKeys down = fake_installer::DownKeysOf(m_package);
  Offer(test, {{"DOWN_SIZE", down.size}, {"DOWN_SHA256", down.sha256}});
  // The served package differs from the pinned one in one byte near its end.
  std::string changed = ReadWholeFile(m_package);
  ASSERT_FALSE(changed.empty());
  changed[changed.size() - 10] ^= 0x20;
  e2e::WriteServedFile(test.name, "setup.msi", changed);
  const LauncherOutcome outcome = test.workspace.Run(
      Parameter("Command='run' ProgramID='PROG' SilentMessage='1' SilentInstall='1'"));
  ExpectReported(outcome, Outcome::InstallFailed);
  EXPECT_TRUE(InstalledDir().empty()) << "msiexec never saw the package";
  bool named = false;
  for (const std::string& line : outcome.logLines)
    named |= line.rfind("installer check failed: SHA-256: expected", 0) == 0;
  EXPECT_TRUE(named) << "the log names the check";
  EXPECT_TRUE(private_download::NoneLeft());
}

}  // namespace
