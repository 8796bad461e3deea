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

TEST(PlanInstallerLaunch, AProgramRunsItselfAPackageGoesToTheSystemsMsiexec) {
  constexpr InstallerKind P = InstallerKind::Program, M = InstallerKind::Package;
  const std::string exe = "C:\\Temp\\ZuSetup-1\\ZuLauncherTempSetup.exe";
  const std::string msi = "C:\\Temp\\Zu Setup\\ZuLauncherTempSetup.msi";
  struct Row {
    InstallerKind kind;
    std::string path, arguments, systemDir, program, expectedArguments;
  } rows[] = {
      {P, exe, "/S", "C:\\Windows\\system32", exe, "/S"},
      {M, msi, "/qn", "C:\\Windows\\system32", "C:\\Windows\\system32\\msiexec.exe",
       "/i \"" + msi + "\" /norestart /qn"},
      {M, msi, "/passive", "C:\\Windows\\SysWOW64\\", "C:\\Windows\\SysWOW64\\msiexec.exe",
       "/i \"" + msi + "\" /norestart /passive"},
      {M, msi, "", "C:\\Windows\\system32", "C:\\Windows\\system32\\msiexec.exe",
       "/i \"" + msi + "\" /norestart"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.path + " " + row.arguments);
    const InstallerLaunch launch =
        PlanInstallerLaunch(row.kind, row.path, row.arguments, row.systemDir);
    EXPECT_EQ(row.program, launch.program);
    EXPECT_EQ(row.expectedArguments, launch.arguments);
  }
}

}  // namespace
