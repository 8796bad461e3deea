// Where vendors install the launcher: a folder this user cannot write, a program recorded in
// the other architecture's registry view or as an expandable value.
#include <gtest/gtest.h>

#include "env/registry_path_win.h"
#include "tests/app/per_machine_road_win.h"

namespace {

using e2e::LauncherCase;
using e2e::Parameter;

TEST(LauncherPerMachine, RunAndUpdateInAFolderTheUserCannotWrite) {
  ASSERT_TRUE(test_http::Running());
  LauncherCase test("PerMachine");
  e2e::ExpectPerMachineRoad(
      test, [](const std::string& text) { return text; }, "");
}

// The program's install folder as 32-bit and 64-bit installers record it, and as many write it
// (through an environment variable): found, started, nothing installed.
TEST(LauncherPerMachine, TheProgramIsFoundWhereverItsInstallerRecordedIt) {
  ASSERT_TRUE(test_http::Running());
  BOOL wow64 = FALSE;
  const bool bothViews =
      kProgramIs64Bit || (::IsWow64Process(::GetCurrentProcess(), &wow64) && wow64);
  const REGSAM otherView = kProgramIs64Bit ? KEY_WOW64_32KEY : KEY_WOW64_64KEY;
  const struct {
    const char* what;
    REGSAM view;
    DWORD type;
    const char* logLine;  // "" when none is expected
  } rows[] = {
      {"own view", 0, REG_SZ, ""},
      {"other view", otherView, REG_SZ, kProgramIs64Bit ? "32-bit view" : "64-bit view"},
      {"REG_EXPAND_SZ", 0, REG_EXPAND_SZ, ""},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    if (row.view == otherView && !bothViews) {
      std::printf("[ SKIPPED  ] other view: a 32-bit prefix (or system) has no 64-bit view\n");
      continue;
    }
    LauncherCase test("PerMachineRegistry");
    test.InstallProgram(5, 0);
    ScratchMachineKey machineKey("per_machine", row.view);
    ASSERT_TRUE(machineKey.created());
    // As the installer writes it: with %ZU_TEST_PROGRAM_ROOT% for the folder above the program's.
    const std::string dir = test.ProgramDir();
    const std::string parent = dir.substr(0, dir.rfind('\\'));
    ::SetEnvironmentVariableA("ZU_TEST_PROGRAM_ROOT", parent.c_str());  // inherited by the launcher
    const std::string written = row.type == REG_EXPAND_SZ ? "%ZU_TEST_PROGRAM_ROOT%\\prog" : dir;
    ASSERT_TRUE(machineKey.SetValue("InstallDir", row.type, written));
    e2e::Keys keys = test.ProgramKeys(5, 0);
    keys[0].second = machineKey.ValuePath("InstallDir");
    test.workspace.WriteLauncherIni(e2e::ServedUrl(test.name, "version.ini"));
    test.workspace.WriteLocalVersionFile(LauncherCase::VersionFile(keys));

    const LauncherOutcome outcome = test.workspace.Run(Parameter("Command='run' ProgramID='PROG'"));
    ExpectReported(outcome, Outcome::Started);
    EXPECT_FALSE(test.workspace.Exists("installer.record")) << "nothing installed";
    bool logged = false;
    for (const std::string& line : outcome.logLines)
      logged = logged || line.find("registry value read from the") != std::string::npos;
    EXPECT_EQ(*row.logLine != '\0', logged);
    if (*row.logLine) {
      EXPECT_TRUE(HasLogLine(outcome, std::string("registry value read from the ") + row.logLine +
                                          ": " + machineKey.ValuePath("InstallDir")));
    }
    ::SetEnvironmentVariableA("ZU_TEST_PROGRAM_ROOT", nullptr);
  }
}

}  // namespace
