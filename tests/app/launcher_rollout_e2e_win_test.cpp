// Channels, staged rollout and the install id end to end: the real launcher, the install id in
// the prefix's registry (HKEY_CURRENT_USER\Software\ZuLauncher, put back after each case), the
// stand-in installer served over loopback. The decision itself is tested in the command core.
#include <gtest/gtest.h>
#include <windows.h>

#include "tests/app/launcher_fixture_win.h"

namespace {

using e2e::LauncherCase;

const char kKey[] = "Software\\ZuLauncher";

std::string ReadInstallId() {  // "" when there is none
  char text[64] = {};
  DWORD size = sizeof text;
  if (::RegGetValueA(HKEY_CURRENT_USER, kKey, "InstallId", RRF_RT_REG_SZ, nullptr, text, &size))
    return "";
  return text;
}
void WriteInstallId(const std::string& id) {
  if (id.empty()) ::RegDeleteKeyValueA(HKEY_CURRENT_USER, kKey, "InstallId");
  if (!id.empty())
    ::RegSetKeyValueA(HKEY_CURRENT_USER, kKey, "InstallId", REG_SZ, id.c_str(), id.size() + 1);
}
struct InstallIdGuard {
  ~InstallIdGuard() { WriteInstallId(before); }
  const std::string before = ReadInstallId();
};

LauncherOutcome RunLauncher(const LauncherCase& test, const std::string& body,
                            const std::string& parameter, const std::string& ini = "") {
  test.workspace.WriteFile(
      "ZuLauncher.ini",
      "[GENERAL]\r\nVERSION_FILE_URL=" + test_http::RefusedUrl("/version.ini") + "\r\n" + ini);
  test.workspace.WriteLocalVersionFile(body);
  return test.workspace.Run(e2e::Parameter(parameter + " ProgramID='PROG' SilentMessage='1'"));
}

// The fixed id's bucket for PROG 5.3 is 59 (printf '%s' "<id>:PROG:5.3" | sha256sum: the first
// eight hex digits, modulo 100). Without an id the launcher makes one and keeps it.
TEST(LauncherRollout, TheRegistrysInstallIdGivesTheBucketThatDecides) {
  ASSERT_TRUE(test_http::Running());
  const std::string fixed = "0123456789abcdef0123456789abcdef";
  const struct {
    std::string id;
    const char* command;
    const char* rollout;
    Outcome expected;
    bool installs;
    const char* logged;  // null: not checked
  } rows[] = {
      {fixed, "run", "60", Outcome::Started, true,
       "rollout PROG 5.3: ROLLOUT=60, bucket 59: offered"},
      {fixed, "run", "59", Outcome::Started, false,
       "rollout PROG 5.3: ROLLOUT=59, bucket 59: not offered"},
      {fixed, "checkversion", "0", Outcome::NewestInstalled, false, nullptr},
      {"", "checkversion", "0", Outcome::NewestInstalled, false, nullptr},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.id + " " + row.command + " ROLLOUT=" + row.rollout);
    InstallIdGuard guard;
    WriteInstallId(row.id);
    LauncherCase test("Rollout");
    test.InstallProgram(4, 0);
    test.ServeInstaller(5);
    e2e::Keys keys = test.ProgramKeys(5, 3);
    keys.push_back({"ROLLOUT", row.rollout});
    const LauncherOutcome outcome = RunLauncher(test, LauncherCase::VersionFile(keys),
                                                std::string("Command='") + row.command + "'");
    ExpectReported(outcome, row.expected);
    EXPECT_EQ(row.installs, fake_installer::FileExists(test.InstallerRecord()));
    if (row.logged) {
      EXPECT_TRUE(HasLogLine(outcome, row.logged)) << row.logged;
    }
    const std::string after = ReadInstallId();
    if (!row.id.empty()) {
      EXPECT_EQ(row.id, after);
    } else {
      EXPECT_EQ(32u, after.size()) << after;
      EXPECT_EQ(std::string::npos, after.find_first_not_of("0123456789abcdef")) << after;
    }
  }
}

// [PROG] offers the installed 5.0 from a URL that serves nothing; [PROG@beta] (and the section a
// path-like channel would name) offers 6.0 from the stand-in installer.
TEST(LauncherRollout, AChannelReadsItsOwnWholeSection) {
  ASSERT_TRUE(test_http::Running());
  const struct {
    const char* ini;
    const char* attributes;
    bool readsBeta;
  } rows[] = {
      {"CHANNEL=beta\r\n", "", true},
      {"CHANNEL=stable\r\n", "Channel='beta'", true},
      {"CHANNEL=beta\r\n", "Channel=''", false},
      {"", "Channel='..\\beta'", false},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(std::string(row.ini) + row.attributes);
    LauncherCase test("RolloutChannel");
    test.InstallProgram(5, 0);
    test.ServeInstaller(6);
    e2e::Keys stable = test.ProgramKeys(5, 0);
    stable[6].second = e2e::ServedUrl(test.name, "missing.exe");  // DOWN_URL
    const std::string body = LauncherCase::VersionFile(stable) +
                             e2e::Section("PROG@beta", test.ProgramKeys(6, 0)) +
                             e2e::Section("PROG@..\\beta", test.ProgramKeys(6, 0));
    const std::string parameter = std::string("Command='run' ") + row.attributes;
    ExpectReported(RunLauncher(test, body, parameter, row.ini), Outcome::Started);
    EXPECT_EQ(row.readsBeta, fake_installer::FileExists(test.InstallerRecord()));
  }
}

}  // namespace
