// ZuLauncher.exe as its own process: the parameter, the launcher INI and the reporting rules
// (what is shown, posted, logged and returned). Runs in code page 1251.
#include <gtest/gtest.h>

#include "tests/app/launcher_fixture_win.h"

namespace {

using e2e::LauncherCase;
using e2e::Parameter;
using e2e::Text;

TEST(LauncherParameterCp1251, ParameterErrorsAlwaysShowTheirBoxAndPostNothing) {
  struct Case {
    const char* what;
    std::string parameter;
    Outcome expected;
  };
  // zuhost adds RetWindowHandle; these requests fail before the handle is read, so the host
  // learns the code from the exit code alone.
  const Case cases[] = {
      {"not XML", "<ZULAUNCHER_PARAM Command='run'", Outcome::NotWellFormed},
      {"wrong root element", "<ZULAUNCHER Command='run'/>", Outcome::WrongRootElement},
      {"root name in other case", "<zulauncher_param Command='run'/>", Outcome::WrongRootElement},
      {"Command absent", Parameter("ProgramID='PROG' SilentMessage='1'"), Outcome::NoCommand},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    LauncherCase test("ParameterError");
    test.workspace.WriteLauncherIni("http://127.0.0.1:9/none");
    const LauncherOutcome outcome = test.workspace.Run(c.parameter);
    ExpectReported(outcome, c.expected, /*posted=*/false);
    ASSERT_EQ(1u, outcome.boxes.size());
    EXPECT_EQ(e2e::CaptionOf(c.expected), outcome.boxes[0].caption);
    EXPECT_EQ(e2e::TextOf(c.expected), outcome.boxes[0].text);
    ASSERT_GE(outcome.logLines.size(), 2u);
    EXPECT_EQ(0u, outcome.logLines[1].find("ZuLauncherMain()-<")) << outcome.logLines[1];
  }
}

TEST(LauncherParameterCp1251, EmptyOrWrongCaseCommandIsUnknownWithItsOwnCaption) {
  for (const char* word : {"", "Run", "UPDATE", "run "}) {
    SCOPED_TRACE(word);
    LauncherCase test("UnknownCommand");
    test.workspace.WriteLauncherIni("http://127.0.0.1:9/none");
    const LauncherOutcome outcome =
        test.workspace.Run(Parameter(std::string("Command='") + word + "'"));
    // read after the settings: the host window hears of it
    ExpectReported(outcome, Outcome::UnknownCommand);
    ASSERT_EQ(1u, outcome.boxes.size()) << "shown although SilentMessage was not given";
    EXPECT_EQ(e2e::CaptionOf(Outcome::UnknownCommand), outcome.boxes[0].caption);
    EXPECT_NE(e2e::CaptionOf(Outcome::NoCommand), outcome.boxes[0].caption);
    EXPECT_EQ(e2e::TextOf(Outcome::UnknownCommand), outcome.boxes[0].text);
  }
}

TEST(LauncherParameterCp1251, MissingLauncherIniGivesSixtyForEveryCommandWithoutABox) {
  for (const char* command : {"run", "update", "checkversion", "forcerun"}) {
    SCOPED_TRACE(command);
    LauncherCase test("MissingIni");
    const LauncherOutcome outcome = test.workspace.Run(
        Parameter(std::string("Command='") + command + "' ProgramID='PROG' SilentMessage='0'"));
    ExpectReported(outcome, Outcome::LauncherIniNotLoaded);
    EXPECT_TRUE(outcome.boxes.empty());
  }
}

TEST(LauncherParameterCp1251, IniFileNameAndLocalVersionFilePathAreTakenFromTheParameter) {
  LauncherCase test("ParameterPaths");
  test.workspace.WriteFile("other.ini", "[GENERAL]\r\nVERSION_FILE_URL=http://127.0.0.1:9/\r\n");
  test.InstallProgram(5, 0);
  // A version file in a place of the host's choosing, fresh, offering what is installed.
  ::CreateDirectoryA(test.workspace.PathOf("data").c_str(), nullptr);
  LauncherWorkspace::WriteFileAt(test.workspace.PathOf("data\\versions.ini"),
                                 LauncherCase::VersionFile(test.ProgramKeys(5, 0)));
  StampVersionFile(test.workspace.PathOf("data\\versions.ini"));
  const LauncherOutcome outcome = test.workspace.Run(
      Parameter("Command='checkversion' ProgramID='PROG' SilentMessage='0' IniFileName='other.ini' "
                "LocalVersionFilePath='" + test.workspace.PathOf("data\\versions.ini") + "'"));
  ExpectReported(outcome, Outcome::NewestInstalled);
  ASSERT_EQ(1u, outcome.boxes.size());
  EXPECT_EQ(e2e::TextOf(Outcome::NewestInstalled), outcome.boxes[0].text);
  EXPECT_TRUE(HasLogLine(outcome, "val_update : " + std::to_string(CodeOf(Outcome::NewestInstalled))));
}

TEST(LauncherParameterCp1251, SilenceRulesForAFailedCommand) {
  struct Case {
    const char* silence;
    size_t boxes;
  };
  const Case cases[] = {{"", 0}, {"SilentMessage='1'", 0}, {"SilentMessage='0'", 1},
                        {"SilentMessage='abc'", 1}};  // no digits read as 0
  for (const Case& c : cases) {
    SCOPED_TRACE(c.silence);
    LauncherCase test("Silence");
    test.workspace.WriteLauncherIni("http://127.0.0.1:9/none");
    test.workspace.WriteLocalVersionFile(LauncherCase::VersionFile(test.ProgramKeys(5, 0)));
    const LauncherOutcome outcome =
        test.workspace.Run(Parameter(std::string("Command='run' ") + c.silence));  // no ProgramID
    ExpectReported(outcome, Outcome::NoProgramId);
    ASSERT_EQ(c.boxes, outcome.boxes.size());
    if (c.boxes) {
      EXPECT_EQ(e2e::CaptionOf(Outcome::NoProgramId), outcome.boxes[0].caption);
      EXPECT_EQ(e2e::TextOf(Outcome::NoProgramId), outcome.boxes[0].text);
    }
  }
}

TEST(LauncherParameterCp1251, LogLinesOfARequestInOrder) {
  LauncherCase test("LogLines");
  test.workspace.WriteLauncherIni("http://127.0.0.1:9/none");
  const std::string parameter = Parameter("Command='update' VersionFileURL=''");
  const LauncherOutcome outcome = test.workspace.Run(parameter);
  ExpectReported(outcome, Outcome::UpdateFailed);
  ASSERT_EQ(4u, outcome.logLines.size());
  EXPECT_EQ(0u, outcome.logLines[0].find("currentdir:"));
  EXPECT_EQ(0u, outcome.logLines[1].find("ZuLauncherMain()-<ZULAUNCHER_PARAM RetWindowHandle="));
  EXPECT_EQ("nEC:30", outcome.logLines[2]);
  EXPECT_EQ(0u, outcome.logLines[3].find("ZuLauncherMain() - WM_ZULAUNCHER_RESULT to "));
}

TEST(LauncherParameterCp1251, AHandleThatNamesNoWindowIsLoggedInKorean) {
  struct Case {
    const char* what;
    const char* handle;
    const char* logged;  // the handle as the log lines give it
  };
  // zuhost leaves a handle the parameter already gives alone; its own window is a top-level
  // window, so a post to a broadcast handle would reach it.
  const Case cases[] = {
      {"a handle that names no window (still posted, to nobody)", "4", "4"},
      {"the broadcast handle is not posted to", "65535", "65535"},
      {"nor is the other broadcast value", "4294967295", "-1"},
  };
  int row = 0;
  for (const Case& c : cases) {
    LauncherCase test("NoTarget" + std::to_string(row++));
    test.workspace.WriteLauncherIni("http://127.0.0.1:9/none");
    const LauncherOutcome outcome = test.workspace.Run(Parameter(
        std::string("Command='update' RetWindowHandle='") + c.handle + "' VersionFileURL=''"));
    EXPECT_EQ(30, outcome.exitCode) << c.what;
    EXPECT_FALSE(outcome.posted) << c.what;
    EXPECT_TRUE(HasLogLine(outcome, std::string("ZuLauncherMain() - WM_ZULAUNCHER_RESULT to ") +
                                        c.logged))
        << c.what;
    // "대상 없음" in code page 949, byte for byte, whatever the ANSI code page.
    EXPECT_TRUE(HasLogLine(outcome,
                           std::string("ZuLauncherMain() - \xB4\xEB\xBB\xF3 \xBE\xF8\xC0\xBD: ") +
                               c.logged))
        << c.what;
  }
}

}  // namespace
