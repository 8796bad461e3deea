// The road of a per-machine install: the launcher's folder refuses this user's files (sealed
// by the test rig, to root as well), the program is installed and current elsewhere. Shared by
// the unsigned and the signed end-to-end tests. Header-only.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>

#include "env/user_copy.h"
#include "env/user_copy_win.h"
#include "tests/app/launcher_fixture_win.h"
#include "tests/support/sealed_folder_win.h"

namespace e2e {

// The copy the launcher keeps for this user of `test`'s workspace, and its folder removed:
// the path is the same on every run of the case.
inline std::string ForgetUserCopy(const LauncherCase& test) {
  const std::string userCopy = UserCopyOf(test.workspace.PathOf("_ZuVersion_temp_.ini"));
  RemoveTree(FolderOfPath(userCopy).substr(0, FolderOfPath(userCopy).size() - 1));
  return userCopy;
}

// `served(text)` is what the server hands out for a version file of that text (signed, under a
// key). The program, 7.0, lies in a folder of its own, outside the sealed one.
inline void ExpectPerMachineRoad(LauncherCase& test,
                                 const std::function<std::string(const std::string&)>& served,
                                 const std::string& publicKey) {
  ScratchDirectory program("zu_per_machine");
  ASSERT_TRUE(program.created());
  ::CopyFileA((TestProgramDir() + "fake_installer.exe").c_str(), (program / "prog.exe").c_str(),
              FALSE);
  LauncherWorkspace::WriteFileAt(program / "prog.ini",
                                 "[GENERAL]\r\nVERSION=7\r\nMINORVERSION=0\r\n");
  ASSERT_TRUE(test.registry.SetText("", "InstallDir", program.path()));
  const std::string token = test_http::UniqueToken("per-machine");
  const std::string url = ServedUrl(test.name, "version.ini?token=" + token);
  const auto offering = [&](int version) {
    return served(LauncherCase::VersionFile(test.ProgramKeys(version, 0)));
  };
  WriteServedFile(test.name, "version.ini", offering(7));
  test.workspace.WriteFile("ZuLauncher.ini", "[GENERAL]\r\nVERSION_FILE_URL=" + url +
                                                 (publicKey.empty() ? "" : "\r\nPUBLIC_KEY=") +
                                                 publicKey + "\r\n");
  // The vendor shipped a copy, long due; it stays as shipped.
  const std::string shipped = LauncherCase::VersionFile(test.ProgramKeys(7, 0));
  test.workspace.WriteLocalVersionFile(shipped, 4 * 3600);
  const std::string besideBefore = test.workspace.ReadFile("_ZuVersion_temp_.ini");
  const std::string userCopy = ForgetUserCopy(test);

  {
    SealedFolder sealed(test.workspace.Dir());
    if (!sealed.sealed())
      GTEST_SKIP() << "no folder that refuses root's writes: " << sealed.detail();
    ASSERT_FALSE(WriteWholeFile(test.workspace.PathOf("probe.txt"), "x")) << "sealed";

    const LauncherOutcome first = test.workspace.Run(Parameter("Command='run' ProgramID='PROG'"));
    ExpectReported(first, 0);
    EXPECT_TRUE(HasLogLine(first, "local version file kept for this user: " + userCopy));
    EXPECT_EQ(1u, test_http::RecordedRequests(token).size()) << "the due copy was refreshed";
    for (int attempt = 0; attempt < 40 && !fake_installer::FileExists(program / "prog.record");
         ++attempt)
      ::Sleep(50);
    EXPECT_TRUE(fake_installer::FileExists(program / "prog.record")) << "the program started";

    ExpectReported(test.workspace.Run(Parameter("Command='run' ProgramID='PROG'")), 0);
    EXPECT_EQ(1u, test_http::RecordedRequests(token).size()) << "the user's copy is fresh";

    WriteServedFile(test.name, "version.ini", offering(8));
    ExpectReported(test.workspace.Run(Parameter("Command='update'")), 0);
    EXPECT_EQ(2u, test_http::RecordedRequests(token).size());
    const LauncherOutcome check =
        test.workspace.Run(Parameter("Command='checkversion' ProgramID='PROG'"));
    ExpectReported(check, Outcome::OlderMajorInstalled);
    EXPECT_EQ(2u, test_http::RecordedRequests(token).size()) << "checkversion asked nothing";
  }
  EXPECT_EQ(besideBefore, test.workspace.ReadFile("_ZuVersion_temp_.ini"));
  EXPECT_FALSE(LeftoverDownloads(test.workspace));
  ForgetUserCopy(test);
}

}  // namespace e2e
