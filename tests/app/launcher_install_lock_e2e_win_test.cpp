// Two launchers that find the same program missing at the same time: one downloads and runs
// the installer, the other waits for it (its dialog says so) and then finds the program
// installed. Two launcher directories of one host, each with its own copy of the version file.
#include <gtest/gtest.h>

#include <thread>

#include "tests/app/launcher_fixture_win.h"
#include "tests/support/private_download_folders_win.h"

namespace {

using e2e::LauncherCase;
using e2e::Parameter;

TEST(LauncherInstallLock, TwoLaunchersForOneMissingProgramInstallItOnce) {
  ASSERT_TRUE(test_http::Running());
  LauncherCase first("LockFirst"), second("LockSecond");
  first.ServeInstaller(5);
  const fake_installer::DownKeys down =
      fake_installer::DownKeysOf(e2e::ServedPath(first.name, "setup.exe"));
  // The download lasts about two seconds, so the second launcher comes while it runs.
  e2e::Keys keys = first.ProgramKeys(5, 0);
  for (auto& key : keys) {
    if (key.first == "DOWN_URL")
      key.second =
          e2e::ServedUrl(first.name, "setup.exe?rate=" + std::to_string(std::stoll(down.size) / 2));
  }
  // Whichever launcher runs the installer, it installs the same program and records itself
  // in that launcher's directory.
  fake_installer::WriteSettings(second.workspace.PathOf("ZuLauncherTempSetup.exe"),
                                {{"RECORD_FILE", second.InstallerRecord()},
                                 {"REGISTRY_PATH", first.registry.ValuePath("InstallDir")},
                                 {"REGISTRY_VALUE", first.ProgramDir()},
                                 {"PROGRAM_INI", first.ProgramDir() + "\\prog.ini"},
                                 {"VERSION", "5"}});
  for (const LauncherCase* test : {&first, &second}) {
    test->workspace.WriteLauncherIni(test_http::RefusedUrl("/version.ini"));
    test->workspace.WriteLocalVersionFile(LauncherCase::VersionFile(keys));
  }
  const std::string request =
      Parameter("Command='run' ProgramID='PROG' SilentMessage='0' SilentInstall='1'");
  LauncherOutcome outcomes[2];
  std::thread other([&] { outcomes[1] = second.workspace.Run(request); });
  outcomes[0] = first.workspace.Run(request);
  other.join();

  // Both receivers of the log lines are open at once, so a line may reach either.
  int waited = 0;
  for (const LauncherOutcome& outcome : outcomes) {
    EXPECT_EQ(0, outcome.exitCode) << outcome.hostOutput;
    EXPECT_EQ(0, outcome.postedCode);
    EXPECT_TRUE(outcome.boxes.empty());
    waited += HasLogLine(outcome, "install lock held by another launcher: waiting");
  }
  EXPECT_EQ(1, waited) << "one of the two waited";
  size_t downloads = 0;
  for (const auto& recorded : test_http::RecordedRequests(""))
    downloads += recorded.target.find(first.name + "/setup.exe") != std::string::npos;
  EXPECT_EQ(1u, downloads);
  EXPECT_EQ(1, fake_installer::FileExists(first.InstallerRecord()) +
                   fake_installer::FileExists(second.InstallerRecord()))
      << "one installer run";
  bool started = false;
  for (int attempt = 0; attempt < 40 && !started; ++attempt, ::Sleep(50))
    started = fake_installer::FileExists(first.ProgramRecord());
  EXPECT_TRUE(started) << "the program was started";
  EXPECT_TRUE(private_download::NoneLeft());
}

}  // namespace
