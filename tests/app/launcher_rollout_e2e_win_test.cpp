// Channels, staged rollout and the minimum version end to end: the real launcher with the
// install id in the prefix's registry (HKEY_CURRENT_USER\Software\ZuLauncher, put back as it
// was after each case), a stand-in installer served over loopback and a stand-in program.
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "common/unique_handle_win.h"
#include "tests/app/launcher_fixture_win.h"

namespace {

using e2e::Keys;
using e2e::LauncherCase;
using e2e::Parameter;

// Its bucket for PROG 5.3 is 59, for PROG 6.0 67 (computed apart from the launcher with
// printf '%s' "<id>:PROG:5.3" | sha256sum: the first eight hex digits, modulo 100).
const char kFixedId[] = "0123456789abcdef0123456789abcdef";
const char kLauncherKey[] = "Software\\ZuLauncher";
const char kInstallIdValue[] = "InstallId";

// The InstallId value as it was before the case, put back when the case ends.
class InstallIdGuard {
 public:
  InstallIdGuard() {
    UniqueRegistryKey key;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, kLauncherKey, 0, KEY_QUERY_VALUE, key.put()) !=
        ERROR_SUCCESS)
      return;
    DWORD size = 0;
    if (::RegQueryValueExA(key.get(), kInstallIdValue, nullptr, &m_type, nullptr, &size) !=
        ERROR_SUCCESS)
      return;
    m_data.resize(size);
    m_had = ::RegQueryValueExA(key.get(), kInstallIdValue, nullptr, &m_type, m_data.data(),
                               &size) == ERROR_SUCCESS;
    m_data.resize(size);
  }
  ~InstallIdGuard() {
    if (m_had)
      Set(m_type, m_data.data(), static_cast<DWORD>(m_data.size()));
    else
      Remove();
  }
  InstallIdGuard(const InstallIdGuard&) = delete;
  InstallIdGuard& operator=(const InstallIdGuard&) = delete;

  static void Set(DWORD type, const BYTE* data, DWORD size) {
    UniqueRegistryKey key;
    ASSERT_EQ(ERROR_SUCCESS, ::RegCreateKeyExA(HKEY_CURRENT_USER, kLauncherKey, 0, nullptr, 0,
                                               KEY_SET_VALUE, nullptr, key.put(), nullptr));
    ASSERT_EQ(ERROR_SUCCESS, ::RegSetValueExA(key.get(), kInstallIdValue, 0, type, data, size));
  }
  static void SetText(const std::string& id) {
    Set(REG_SZ, reinterpret_cast<const BYTE*>(id.c_str()), static_cast<DWORD>(id.size() + 1));
  }
  static void Remove() { ::RegDeleteKeyValueA(HKEY_CURRENT_USER, kLauncherKey, kInstallIdValue); }
  // The value's type and text; false when there is none.
  static bool Read(DWORD& type, std::string& text) {
    char data[256] = {};
    DWORD size = sizeof data - 1;
    if (::RegGetValueA(HKEY_CURRENT_USER, kLauncherKey, kInstallIdValue, RRF_RT_ANY, &type, data,
                       &size) != ERROR_SUCCESS)
      return false;
    text = data;
    return true;
  }

 private:
  bool m_had = false;
  DWORD m_type = REG_NONE;
  std::vector<BYTE> m_data;
};

Keys With(Keys keys, const std::string& name, const std::string& value) {
  for (auto& key : keys) {
    if (key.first == name) {
      key.second = value;
      return keys;
    }
  }
  keys.push_back({name, value});
  return keys;
}

std::string Command(const std::string& command, const std::string& extra = "") {
  return Parameter("Command='" + command + "' ProgramID='PROG' SilentMessage='1' " + extra);
}

void WaitForProgramRecord(const LauncherCase& test) {
  // The launcher does not wait for the program; give it a moment to write its record.
  for (int attempt = 0; attempt < 40 && !fake_installer::FileExists(test.ProgramRecord());
       ++attempt)
    ::Sleep(50);
}

// With the fixed id, 5.3 offered under ROLLOUT and MIN_VERSION; one row per decision.
TEST(LauncherRollout, TheFixedInstallIdsBucketDecidesAndTheExceptionsHold) {
  ASSERT_TRUE(test_http::Running());
  struct Case {
    const char* what;
    const char* command;
    int installed;  // major version installed (minor 0); 0: not installed
    const char* rollout;
    const char* minVersion;  // null: none
    Outcome expected;
    bool installs;
    const char* logLine;  // null: not checked
  };
  const Case cases[] = {
      {"ROLLOUT one above the bucket", "run", 4, "60", nullptr, Outcome::Started, true,
       "rollout PROG 5.3: ROLLOUT=60, bucket 59: offered"},
      {"ROLLOUT equal to the bucket", "run", 4, "59", nullptr, Outcome::Started, false,
       "rollout PROG 5.3: ROLLOUT=59, bucket 59: not offered"},
      {"ROLLOUT 0, checkversion", "checkversion", 4, "0", nullptr, Outcome::NewestInstalled, false,
       "rollout PROG 5.3: ROLLOUT=0, bucket 59: not offered"},
      {"ROLLOUT 0, program missing", "run", 0, "0", nullptr, Outcome::Started, true, nullptr},
      {"ROLLOUT 0, below MIN_VERSION", "install", 4, "0", "5", Outcome::Installed, true,
       "rollout PROG 5.3: ROLLOUT=0, bucket 59, installed 4.0 below MIN_VERSION 5.0: offered"},
      {"ROLLOUT 0, forceinstall", "forceinstall", 4, "0", nullptr, Outcome::Installed, true,
       nullptr},
      {"ROLLOUT not a number", "run", 4, "half", nullptr, Outcome::Started, false,
       "rollout PROG 5.3: ROLLOUT=half (not a whole number 0 to 100: offered to nobody), bucket "
       "59: not offered"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    InstallIdGuard guard;
    InstallIdGuard::SetText(kFixedId);
    LauncherCase test("Rollout");
    if (c.installed) test.InstallProgram(c.installed, 0);
    test.ServeInstaller(5);
    Keys keys = With(test.ProgramKeys(5, 3), "ROLLOUT", c.rollout);
    if (c.minVersion) keys = With(keys, "MIN_VERSION", c.minVersion);
    test.workspace.WriteLauncherIni(test_http::RefusedUrl("/version.ini"));
    test.workspace.WriteLocalVersionFile(LauncherCase::VersionFile(keys));

    const LauncherOutcome outcome = test.workspace.Run(Command(c.command));
    ExpectReported(outcome, c.expected);
    EXPECT_EQ(c.installs, fake_installer::FileExists(test.InstallerRecord()));
    if (c.expected == Outcome::Started) {
      WaitForProgramRecord(test);
      EXPECT_TRUE(fake_installer::FileExists(test.ProgramRecord())) << "the program was started";
    }
    if (c.logLine) {
      EXPECT_TRUE(HasLogLine(outcome, c.logLine)) << c.logLine;
    }
    DWORD type = REG_NONE;
    std::string id;
    ASSERT_TRUE(InstallIdGuard::Read(type, id));
    EXPECT_EQ(kFixedId, id) << "a well-formed id is kept";
  }
}

// No id, or one of another shape (a number, upper case): the launcher draws a new one of 32
// lower-case hex digits and keeps it as a string; the next request keeps it.
TEST(LauncherRollout, AnInstallIdIsMadeOnFirstNeedAndOneOfAnotherShapeReplaced) {
  struct Case {
    const char* what;
    DWORD type;  // REG_NONE: no value
    std::string data;
  };
  const DWORD number = 12345;
  const Case cases[] = {
      {"no value", REG_NONE, ""},
      {"a number", REG_DWORD, std::string(reinterpret_cast<const char*>(&number), sizeof number)},
      {"upper case", REG_SZ, std::string("0123456789ABCDEF0123456789ABCDEF") + '\0'},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    InstallIdGuard guard;
    InstallIdGuard::Remove();
    if (c.type != REG_NONE)
      InstallIdGuard::Set(c.type, reinterpret_cast<const BYTE*>(c.data.data()),
                          static_cast<DWORD>(c.data.size()));
    LauncherCase test("RolloutNewId");
    test.InstallProgram(4, 0);
    test.workspace.WriteLauncherIni(test_http::RefusedUrl("/version.ini"));
    test.workspace.WriteLocalVersionFile(
        LauncherCase::VersionFile(With(test.ProgramKeys(5, 3), "ROLLOUT", "0")));

    ExpectReported(test.workspace.Run(Command("checkversion")), Outcome::NewestInstalled);
    DWORD type = REG_NONE;
    std::string made;
    ASSERT_TRUE(InstallIdGuard::Read(type, made));
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), type);
    ASSERT_EQ(32u, made.size()) << made;
    EXPECT_EQ(std::string::npos, made.find_first_not_of("0123456789abcdef")) << made;

    const LauncherOutcome again = test.workspace.Run(Command("checkversion"));
    std::string kept;
    ASSERT_TRUE(InstallIdGuard::Read(type, kept));
    EXPECT_EQ(made, kept) << "the id is kept from one request to the next";
    EXPECT_FALSE(HasLogLine(again, "InstallId made: " + made));
  }
}

// [PROG] offers 5.0 (installed) from a URL that serves nothing; [PROG@beta] offers 6.0 from
// the stand-in installer. Only a run that reads the whole beta section installs and succeeds.
TEST(LauncherRollout, AChannelReadsItsOwnSectionWhenTheVersionFileHasOne) {
  ASSERT_TRUE(test_http::Running());
  struct Case {
    const char* what;
    const char* iniChannel;  // "": no CHANNEL line
    const char* attributes;
    bool betaSection;
    bool readsBeta;
  };
  const Case cases[] = {
      {"CHANNEL=beta", "beta", "", true, true},
      {"CHANNEL=beta without its section", "beta", "", false, false},
      {"the attribute wins", "stable", "Channel='beta'", true, true},
      {"an empty attribute means no channel", "beta", "Channel=''", true, false},
      {"a path character is not used", "", "Channel='..\\beta'", true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    LauncherCase test("RolloutChannel");
    test.InstallProgram(5, 0);
    test.ServeInstaller(6);
    std::string body = LauncherCase::VersionFile(
        With(test.ProgramKeys(5, 0), "DOWN_URL", e2e::ServedUrl(test.name, "missing.exe")));
    if (c.betaSection) body += e2e::Section("PROG@beta", test.ProgramKeys(6, 0));
    std::string ini =
        "[GENERAL]\r\nVERSION_FILE_URL=" + test_http::RefusedUrl("/version.ini") + "\r\n";
    if (*c.iniChannel) ini += std::string("CHANNEL=") + c.iniChannel + "\r\n";
    test.workspace.WriteFile("ZuLauncher.ini", ini);
    test.workspace.WriteLocalVersionFile(body);

    const LauncherOutcome outcome = test.workspace.Run(Command("run", c.attributes));
    ExpectReported(outcome, Outcome::Started);
    EXPECT_EQ(c.readsBeta, fake_installer::FileExists(test.InstallerRecord()));
    const std::string programIni = test.ProgramDir() + "\\prog.ini";
    EXPECT_EQ(c.readsBeta ? 6 : 5, static_cast<int>(::GetPrivateProfileIntA("GENERAL", "VERSION", 0,
                                                                            programIni.c_str())));
  }
}

}  // namespace
