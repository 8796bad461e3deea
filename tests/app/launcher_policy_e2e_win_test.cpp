// The administrator's policy and the version file's mirrors as a machine sees them: values in
// the prefix's registry under HKEY_LOCAL_MACHINE\Software\Policies\ZuLauncher\<ProgramID>
// (an id of each case's own, so no other test meets them), the launcher INI's numbered
// addresses, and zuhost --policy. The decisions themselves are the native tables'.
#include <gtest/gtest.h>

#include "common/unique_handle_win.h"
#include "tests/app/launcher_fixture_win.h"
#include "tests/support/process_runner_win.h"

namespace {

using e2e::LauncherCase;
using e2e::Parameter;

const char kPolicies[] = "Software\\Policies\\ZuLauncher\\";

// The machine's policy for one program id, removed with the case.
class MachinePolicy {
 public:
  explicit MachinePolicy(const std::string& programId) : m_subkey(kPolicies + programId) {
    EXPECT_EQ(ERROR_SUCCESS,
              ::RegCreateKeyExA(HKEY_LOCAL_MACHINE, m_subkey.c_str(), 0, nullptr, 0,
                                KEY_ALL_ACCESS | KEY_WOW64_64KEY, nullptr, m_key.put(), nullptr));
  }
  ~MachinePolicy() {
    m_key.reset();
    ::RegDeleteKeyExA(HKEY_LOCAL_MACHINE, m_subkey.c_str(), KEY_WOW64_64KEY, 0);
  }
  void Set(const char* name, DWORD number) const {
    ::RegSetValueExA(m_key.get(), name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number),
                     sizeof number);
  }
  void Set(const char* name, const std::string& text) const {
    ::RegSetValueExA(m_key.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                     static_cast<DWORD>(text.size() + 1));
  }
  std::string Where() const { return "HKEY_LOCAL_MACHINE\\" + m_subkey; }

 private:
  std::string m_subkey;
  UniqueRegistryKey m_key;
};

// A case whose program id is its own name; the version file served and kept offers `offered`.
struct PolicyCase {
  explicit PolicyCase(const std::string& name) : test(name), policy(name) {}
  std::string VersionFile(int version, int minor) const {
    return e2e::Section("GENERAL", {{"ZULAUNCHER_VERSION", "1000"}}) +
           e2e::Section(test.name, test.ProgramKeys(version, minor));
  }
  LauncherOutcome Run(const std::string& command) const {
    return test.workspace.Run(
        Parameter("Command='" + command + "' ProgramID='" + test.name + "' CheckMinorVersion='1'"));
  }
  LauncherCase test;
  MachinePolicy policy;
};

struct PolicyRow {
  const char* name;
  void (*set)(const MachinePolicy&);
  const char* summary;  // after "policy: ", with {} for the key's path
  int offered;          // major version offered (minor 0); 5.2 is installed
  long long copyAge;    // seconds
};

TEST(LauncherPolicy, AStaleCopyIsNotRefreshedAndTheInstalledProgramStarts) {
  ASSERT_TRUE(test_http::Running());
  const PolicyRow rows[] = {
      {"PolicyDisabled", [](const MachinePolicy& p) { p.Set("UpdatesDisabled", 1); },
       "UpdatesDisabled=1 ({})", 6, 4 * 3600},
      {"PolicyPeriodZero", [](const MachinePolicy& p) { p.Set("CheckPeriodMinutes", 0); },
       "CheckPeriodMinutes=0 ({})", 5, 4 * 3600},
      {"PolicyTarget", [](const MachinePolicy& p) { p.Set("TargetVersionPrefix", "5"); },
       "TargetVersionPrefix=5 ({})", 6, 0},  // fresh: 6.0 is known, and held back
  };
  for (const PolicyRow& row : rows) {
    SCOPED_TRACE(row.name);
    PolicyCase one(row.name);
    row.set(one.policy);
    const std::string token = test_http::UniqueToken(row.name);
    e2e::WriteServedFile(one.test.name, "version.ini", one.VersionFile(row.offered, 0));
    one.test.workspace.WriteLauncherIni(
        e2e::ServedUrl(one.test.name, "version.ini?token=" + token));
    one.test.workspace.WriteLocalVersionFile(one.VersionFile(row.offered, 0), row.copyAge);
    one.test.InstallProgram(5, 2);
    one.test.ServeInstaller(row.offered);

    const LauncherOutcome outcome = one.Run("run");
    ExpectReported(outcome, Outcome::Started);  // the installed 5.2 was started
    std::string summary = std::string("policy: ") + row.summary;
    summary.replace(summary.find("{}"), 2, one.policy.Where());
    EXPECT_TRUE(HasLogLine(outcome, summary)) << summary;
    EXPECT_EQ(0u, test_http::RecordedRequests(token).size()) << "the server was asked nothing";
    EXPECT_FALSE(one.test.workspace.Exists("installer.record")) << "nothing was installed";
  }
}

TEST(LauncherPolicy, ThePolicysAddressIsTheOneRequestedAndUpdateObeysUpdatesDisabled) {
  ASSERT_TRUE(test_http::Running());
  PolicyCase one("PolicyAddress");
  const std::string inis = test_http::UniqueToken("ini"), policys = test_http::UniqueToken("gpo");
  e2e::WriteServedFile(one.test.name, "version.ini", one.VersionFile(5, 2));
  one.test.workspace.WriteLauncherIni(e2e::ServedUrl(one.test.name, "version.ini?token=" + inis));
  one.policy.Set("VersionFileURL", e2e::ServedUrl(one.test.name, "version.ini?token=" + policys));
  ExpectReported(one.Run("update"), Outcome::Refreshed);
  EXPECT_EQ(0u, test_http::RecordedRequests(inis).size());
  EXPECT_EQ(1u, test_http::RecordedRequests(policys).size());

  one.policy.Set("UpdatesDisabled", 1);
  const LauncherOutcome disabled = one.Run("update");
  ExpectReported(disabled, Outcome::UpdateFailed);
  EXPECT_TRUE(HasLogLine(disabled, "update not done: the policy UpdatesDisabled is in effect"));
  EXPECT_EQ(1u, test_http::RecordedRequests(policys).size());

  // zuhost shows the same policy, and what it ignores.
  one.policy.Set("CheckPeriodMinutes", "60");
  const std::string output = one.test.workspace.PathOf("policy.txt");
  ASSERT_EQ(0, RunAndWait("\"" + one.test.workspace.PathOf("zuhost.exe") + "\" --policy " +
                              one.test.name,
                          one.test.workspace.Dir(), output));
  const std::string where = one.policy.Where();
  EXPECT_EQ("policy " + where + "\\CheckPeriodMinutes ignored: not a DWORD from 0 to 43200\r\n" +
                "policy: UpdatesDisabled=1 (" + where + "), VersionFileURL=" +
                e2e::ServedUrl(one.test.name, "version.ini?token=" + policys) + " (" + where +
                ")\r\n",
            one.test.workspace.ReadFile("policy.txt"));
}

// Mirrors: an address that refuses the connection and one that answers 503 give way to the
// next; the log names the one that served.
TEST(LauncherMirrors, AnUnreachableAddressGivesWayToTheNext) {
  ASSERT_TRUE(test_http::Running());
  LauncherCase test("MirrorsFailOver");
  const std::string token = test_http::UniqueToken("mirror");
  e2e::WriteServedFile(test.name, "version.ini",
                       LauncherCase::VersionFile(test.ProgramKeys(7, 0)));
  const std::string failing = e2e::ServedUrl(test.name, "version.ini?status=503&token=" + token);
  const std::string serving = e2e::ServedUrl(test.name, "version.ini?token=" + token);
  test.workspace.WriteFile("ZuLauncher.ini", "[GENERAL]\r\nVERSION_FILE_URL=" +
                                                 test_http::RefusedUrl("/version.ini") + "\r\n" +
                                                 "VERSION_FILE_URL_2=" + failing + "\r\n" +
                                                 "VERSION_FILE_URL_3=" + serving + "\r\n");
  const LauncherOutcome outcome = test.workspace.Run(Parameter("Command='update'"));
  ExpectReported(outcome, Outcome::Refreshed);
  EXPECT_TRUE(HasLogLine(outcome, "version file served by " + serving));
  EXPECT_EQ(2u, test_http::RecordedRequests(token).size());
  EXPECT_NE(std::string::npos, test.workspace.ReadFile("_ZuVersion_temp_.ini").find("VERSION=7"));
}

// The installer's mirrors: unreachable addresses give way to the next; an installer that
// arrived and failed its digest is final, and the next address is never asked.
TEST(LauncherMirrors, TheInstallerFailsOverOnlyWhenNothingArrived) {
  ASSERT_TRUE(test_http::Running());
  for (const bool firstFailsItsCheck : {false, true}) {
    SCOPED_TRACE(firstFailsItsCheck ? "the first fails its digest" : "the first two unreachable");
    LauncherCase test(firstFailsItsCheck ? "InstallerMirrorChecked" : "InstallerMirrorFailOver");
    const std::string token = test_http::UniqueToken("setupmirror");
    const std::string serving = e2e::ServedUrl(test.name, "setup.exe?token=" + token);
    e2e::Keys keys = test.ProgramKeys(5, 0);
    for (auto& key : keys) {
      if (key.first != "DOWN_URL") continue;
      key.second = firstFailsItsCheck ? e2e::ServedUrl(test.name, "setup.exe")
                                      : test_http::RefusedUrl("/setup.exe");
    }
    if (firstFailsItsCheck) {
      keys.push_back({"DOWN_SHA256", std::string(64, '0')});
      keys.push_back({"DOWN_URL_2", serving});
    } else {
      keys.push_back({"DOWN_URL_2", e2e::ServedUrl(test.name, "setup.exe?status=503")});
      keys.push_back({"DOWN_URL_3", serving});
    }
    test.workspace.WriteLauncherIni(e2e::ServedUrl(test.name, "version.ini"));
    test.workspace.WriteLocalVersionFile(LauncherCase::VersionFile(keys));
    test.ServeInstaller(5);

    const LauncherOutcome outcome =
        test.workspace.Run(Parameter("Command='install' ProgramID='PROG' SilentInstall='1'"));
    ExpectReported(outcome, firstFailsItsCheck ? Outcome::InstallFailed : Outcome::Installed);
    EXPECT_EQ(firstFailsItsCheck ? 0u : 1u, test_http::RecordedRequests(token).size());
    EXPECT_EQ(!firstFailsItsCheck, HasLogLine(outcome, "installer served by " + serving));
    EXPECT_EQ(!firstFailsItsCheck, test.workspace.Exists("installer.record"));
  }
}

}  // namespace
