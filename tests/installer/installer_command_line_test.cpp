// The installer's command line: quoted path, one space, the arguments.
#include "installer/installer_command_line.h"

#include <gtest/gtest.h>

namespace {

TEST(BuildInstallerCommandLine, QuotesThePathAndKeepsTheArguments) {
  struct Row {
    const char* path;
    const char* arguments;
    const char* expected;
  } rows[] = {
      {"C:\\ZuLauncher\\ZuLauncherTempSetup.exe", "/S",
       "\"C:\\ZuLauncher\\ZuLauncherTempSetup.exe\" /S"},
      {"C:\\ZuLauncher\\ZuLauncherTempSetup.exe", "/A",
       "\"C:\\ZuLauncher\\ZuLauncherTempSetup.exe\" /A"},
      {"C:\\ZuLauncher\\ZuLauncherTempSetup.exe", "",
       "\"C:\\ZuLauncher\\ZuLauncherTempSetup.exe\" "},
      {"C:\\Program Files\\Zu Launcher\\ZuLauncherTempSetup.exe", "/S",
       "\"C:\\Program Files\\Zu Launcher\\ZuLauncherTempSetup.exe\" /S"},
      // A double-byte path (code page 949) passes through byte for byte.
      {"C:\\\xc7\xd1\xb1\xdb\\ZuLauncherTempSetup.exe", "/S",
       "\"C:\\\xc7\xd1\xb1\xdb\\ZuLauncherTempSetup.exe\" /S"},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(row.expected, BuildInstallerCommandLine(row.path, row.arguments)) << row.path;
  }
}

}  // namespace
