// The launcher core's pure rules: path joining, version comparison, the parameter's quotes and
// the command table.
#include <gtest/gtest.h>

#include <string>

#include "app/installed_program_info.h"
#include "app/launch_parameter.h"
#include "app/launcher_request.h"
#include "tests/common/code_page_scope.h"
#include "xml/xml_document.h"

namespace {

TEST(JoinPath, ExactlyOneSeparatorAtTheSeam) {
  struct Case {
    const char* dir;
    const char* name;
    const char* expected;
  };
  const Case cases[] = {
      {"C:\\Program Files\\Demo\\", "demo.ini", "C:\\Program Files\\Demo\\demo.ini"},
      {"C:\\Program Files\\Demo", "\\demo.ini", "C:\\Program Files\\Demo\\demo.ini"},
      {"C:\\Demo", "demo.ini", "C:\\Demo\\demo.ini"},
      {"C:\\Demo\\", "\\demo.ini", "C:\\Demo\\demo.ini"},
      {"", "demo.ini", "\\demo.ini"},
      {"C:\\Demo", "", "C:\\Demo\\"},
      {"C:\\Demo", "\\", "C:\\Demo\\"},
      {"C:\\Demo\\", "\\\\x", "C:\\Demo\\\\x"},  // only one leading separator is removed
      {"C:\\Demo", "sub\\demo.ini", "C:\\Demo\\sub\\demo.ini"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.expected, JoinPath(c.dir, c.name, "\\")) << c.dir << " + " << c.name;
}

TEST(JoinPath, TrailByteBackslashIsNotASeparatorCp932) {
  CodePageScope scope(932);
  // "表" is 95 5C: a directory ending in it does not end in a backslash.
  EXPECT_EQ("C:\\\x95\x5C\\demo.ini", JoinPath("C:\\\x95\x5C", "demo.ini", "\\"));
  EXPECT_EQ("C:\\\x95\x5C\\demo.ini", JoinPath("C:\\\x95\x5C\\", "demo.ini", "\\"));
}

TEST(InstalledVersion, ComparisonWithAndWithoutMinorVersions) {
  struct Case {
    const char* what;
    int local, localMinor, server, serverMinor;
    unsigned checkMinor;
    bool current;
  };
  const Case cases[] = {
      {"same versions", 5, 3, 5, 3, 1, true},
      {"older major", 4, 9, 5, 0, 0, false},
      {"older minor ignored without the check", 5, 1, 5, 3, 0, true},
      {"older minor counts with the check", 5, 1, 5, 3, 1, false},
      {"newer major is current without the check", 6, 0, 5, 3, 0, true},
      {"newer major with lower minor is older under the check", 6, 0, 5, 3, 1, false},
      {"both minors absent compare equal", 5, 0, 5, 0, 1, true},
      {"negative local version is older", -1, 0, 1, 0, 0, false},
  };
  for (const Case& c : cases) {
    InstalledProgramInfo info;
    info.LocalVersion = c.local;
    info.LocalMinorVersion = c.localMinor;
    info.ServerVersion = c.server;
    info.ServerMinorVersion = c.serverMinor;
    EXPECT_EQ(c.current, IsInstalledVersionCurrent(info, c.checkMinor)) << c.what;
  }
}

TEST(LaunchParameter, QuotesAreNormalised) {
  struct Case {
    const char* what;
    const char* argument;
    const char* expected;
  };
  const Case cases[] = {
      {"single quotes become double", "<ZULAUNCHER_PARAM Command='run'/>",
       "<ZULAUNCHER_PARAM Command=\"run\"/>"},
      {"leading double quote drops every double quote",
       "\"<ZULAUNCHER_PARAM Command='run' LaunchParam=\"x\"/>\"",
       "<ZULAUNCHER_PARAM Command=\"run\" LaunchParam=x/>"},
      {"double quotes kept without the leading one", "<A B=\"1\"/>", "<A B=\"1\"/>"},
      {"apostrophe in a value arrives as a double quote", "<A L=\"it's\"/>", "<A L=\"it\"s\"/>"},
      {"empty", "", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(c.expected, NormalizeParameter(c.argument)) << c.what;
}

TEST(CommandTable, ExactCaseSensitiveWordsWithTheirLogLines) {
  struct Case {
    const char* word;
    LauncherCommand command;
    const char* logFormat;
  };
  const Case cases[] = {
      {"run", LauncherCommand::Run, nullptr},
      {"checkversion", LauncherCommand::CheckVersion, "val_update : %d"},
      {"install", LauncherCommand::Install, "val_install : %d"},
      {"forceinstall", LauncherCommand::ForceInstall, "val_forceinstall : %d"},
      {"forcerun", LauncherCommand::ForceRun, "val_forcerun : %d"},
      {"update", LauncherCommand::Update, nullptr},
      {"Run", LauncherCommand::Unknown, nullptr},
      {"UPDATE", LauncherCommand::Unknown, nullptr},
      {"", LauncherCommand::Unknown, nullptr},
      {"run ", LauncherCommand::Unknown, nullptr},
  };
  for (const Case& c : cases) {
    const CommandEntry& entry = FindCommand(c.word);
    EXPECT_EQ(c.command, entry.command) << "'" << c.word << "'";
    if (c.logFormat)
      EXPECT_STREQ(c.logFormat, entry.logFormat) << c.word;
    else
      EXPECT_EQ(nullptr, entry.logFormat) << c.word;
  }
}


TEST(LaunchParameter, SettingsReadFromTheElementKeepDefaultsWhenAbsent) {
  struct Case {
    const char* what;
    const char* element;
    LauncherSettings expected;
  };
  const Case cases[] = {
      {"nothing given keeps the defaults", "<ZULAUNCHER_PARAM Command=\"run\"/>", {1, 0, 0, 0, 0, 0}},
      {"all given", "<ZULAUNCHER_PARAM SilentMessage=\"0\" SilentInstall=\"1\" AutoInstall=\"2\" "
                    "RetWindowHandle=\"65600\" ForceCheck=\"1\" CheckMinorVersion=\"3\"/>",
       {0, 1, 2, 65600, 1, 3}},
      {"signed values scan like atoi", "<P SilentMessage=\"  -12abc\" SilentInstall=\"x\"/>",
       {-12, 0, 0, 0, 0, 0}},
      {"unsigned values that scan nothing stay", "<P RetWindowHandle=\"abc\" ForceCheck=\"\"/>",
       {1, 0, 0, 0, 0, 0}},
      {"a minus sign wraps an unsigned value", "<P RetWindowHandle=\"-1\"/>", {1, 0, 0, 4294967295u, 0, 0}},
  };
  for (const Case& c : cases) {
    XmlDocument document;
    ASSERT_TRUE(document.Parse(c.element)) << c.what;
    LauncherSettings settings;
    ReadLauncherSettings(*document.Root(), settings);
    EXPECT_EQ(c.expected.SilentMessage, settings.SilentMessage) << c.what;
    EXPECT_EQ(c.expected.SilentInstall, settings.SilentInstall) << c.what;
    EXPECT_EQ(c.expected.AutoInstall, settings.AutoInstall) << c.what;
    EXPECT_EQ(c.expected.RetWindowHandle, settings.RetWindowHandle) << c.what;
    EXPECT_EQ(c.expected.ForceCheck, settings.ForceCheck) << c.what;
    EXPECT_EQ(c.expected.CheckMinorVersion, settings.CheckMinorVersion) << c.what;
  }
}

TEST(LaunchParameter, RequestTextsKeepTheirDefaultsOnlyWhenAbsent) {
  struct Case {
    const char* what;
    const char* element;
    const char* iniFileName;
    const char* localCopy;
    const char* url;
    const char* agent;
    bool hasProgramId;
    const char* programId;
    const char* launchParam;
  };
  const Case cases[] = {
      {"absent", "<P/>", "ZuLauncher.ini", "D:\\_ZuVersion_temp_.ini", "", "ZuLauncher", false, "", ""},
      {"present but empty", "<P IniFileName='' LocalVersionFilePath='' VersionFileURL='' "
       "AgentName='' ProgramID='' LaunchParam=''/>", "", "", "", "", true, "", ""},
      {"given", "<P IniFileName='a.ini' LocalVersionFilePath='v.ini' VersionFileURL='http://h/v' "
       "AgentName='Host/1' ProgramID='PROG' LaunchParam='-x'/>",
       "a.ini", "v.ini", "http://h/v", "Host/1", true, "PROG", "-x"},
      {"agent name with a line break: the default instead", "<P AgentName='Host/1\r\nX: 1'/>",
       "ZuLauncher.ini", "D:\\_ZuVersion_temp_.ini", "", "ZuLauncher", false, "", ""},
  };
  for (const Case& c : cases) {
    XmlDocument document;
    ASSERT_TRUE(document.Parse(NormalizeParameter(c.element).c_str())) << c.what;
    const LauncherRequest request = ReadLauncherRequest(*document.Root(), "D:\\");
    EXPECT_EQ(c.iniFileName, request.iniFileName) << c.what;
    EXPECT_EQ(c.localCopy, request.localVersionFilePath) << c.what;
    EXPECT_EQ(c.url, request.versionFileUrl) << c.what;
    EXPECT_EQ(c.agent, request.agentName) << c.what;
    EXPECT_EQ(c.hasProgramId, request.hasProgramId) << c.what;
    EXPECT_EQ(c.programId, request.programId) << c.what;
    EXPECT_EQ(c.launchParam, request.launchParam) << c.what;
  }
}

TEST(LaunchParameter, NormalisedDoubleQuotedParameterStillParses) {
  XmlDocument document;
  ASSERT_TRUE(document.Parse(
      NormalizeParameter("\"<ZULAUNCHER_PARAM Command='run' LaunchParam='a b' ProgramID=\"P\"/>\"").c_str()));
  std::string value;
  ASSERT_TRUE(document.Root()->GetAttribute("LaunchParam", value));
  EXPECT_EQ("a b", value);
}

}  // namespace
