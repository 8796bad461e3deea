// The administrator's policy: which place's value wins and which values are ignored (one
// table), what the commands then do (one table), and the order in which a download's
// addresses are tried (one table).
#include "app/update_policy.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "app/download_addresses.h"
#include "app/install_step.h"
#include "app/launcher_commands.h"
#include "tests/app/fake_launcher_system.h"

namespace {

using Kind = PolicyValue::Kind;
using S = PolicyScope;

struct Placed {
  PolicyScope scope;
  const char* name;
  PolicyValue value;
};
PolicyValue Number(uint32_t n) { return {Kind::Number, n, ""}; }
PolicyValue Text(const char* t) { return {Kind::Text, 0, t}; }
PolicyValue Binary() { return {Kind::Other, 0, ""}; }

TEST(UpdatePolicy, TheMachineAndTheProgramKeyWinAndMalformedValuesAreIgnored) {
  const char* const M = "HKEY_LOCAL_MACHINE\\Software\\Policies\\ZuLauncher";
  struct Row {
    const char* what;
    std::vector<Placed> values;
    const char* programId;
    std::string summary;  // after "policy: "
    size_t ignored;
  } rows[] = {
      {"nothing set", {}, "PROG", "none", 0},
      {"machine beats user",
       {{S::User, "UpdatesDisabled", Number(0)}, {S::Machine, "UpdatesDisabled", Number(1)}},
       "PROG", std::string("UpdatesDisabled=1 (") + M + ")", 0},
      {"the program's subkey beats the machine key",
       {{S::Machine, "CheckPeriodMinutes", Number(60)},
        {S::MachineProgram, "CheckPeriodMinutes", Number(0)}},
       "PROG", std::string("CheckPeriodMinutes=0 (") + M + "\\PROG)", 0},
      {"the user's program subkey does not beat the machine",
       {{S::UserProgram, "TargetVersionPrefix", Text("6")},
        {S::Machine, "TargetVersionPrefix", Text("5.2")}},
       "PROG", std::string("TargetVersionPrefix=5.2 (") + M + ")", 0},
      {"no program: its subkeys are not asked",
       {{S::MachineProgram, "UpdatesDisabled", Number(1)}}, "", "none", 0},
      {"a malformed machine value gives way to the user's",
       {{S::Machine, "CheckPeriodMinutes", Number(43201)},
        {S::User, "CheckPeriodMinutes", Number(43200)}},
       "PROG",
       "CheckPeriodMinutes=43200 (HKEY_CURRENT_USER\\Software\\Policies\\ZuLauncher)", 1},
      {"wrong types and shapes",
       {{S::Machine, "UpdatesDisabled", Number(2)},
        {S::Machine, "CheckPeriodMinutes", Text("60")},
        {S::Machine, "TargetVersionPrefix", Text("5.x")},
        {S::User, "TargetVersionPrefix", Text("5.")},
        {S::Machine, "VersionFileURL", Text("file://server/v.ini")},
        {S::Machine, "AllowRequestURL", Binary()},
        {S::Machine, "Channel", Text("beta/..")}},
       "PROG", "none", 7},
      {"a ten-digit version is no version", {{S::Machine, "TargetVersionPrefix", Text("1234567890")}},
       "PROG", "none", 1},
      {"every value",
       {{S::Machine, "UpdatesDisabled", Number(0)},
        {S::Machine, "CheckPeriodMinutes", Number(1440)},
        {S::Machine, "TargetVersionPrefix", Text("5")},
        {S::Machine, "VersionFileURL", Text("https://mirror.corp/v.ini")},
        {S::Machine, "AllowRequestURL", Number(1)},
        {S::Machine, "Channel", Text("")}},
       "PROG",
       std::string("UpdatesDisabled=0 (") + M + "), CheckPeriodMinutes=1440 (" + M +
           "), TargetVersionPrefix=5 (" + M + "), VersionFileURL=https://mirror.corp/v.ini (" + M +
           "), AllowRequestURL=1 (" + M + "), Channel='' (" + M + ")",
       0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    std::vector<std::tuple<PolicyScope, std::string>> asked;
    const ResolvedPolicy resolved = ResolveUpdatePolicy(
        [&](PolicyScope scope, const std::string& name) {
          asked.emplace_back(scope, name);
          for (const Placed& placed : row.values)
            if (placed.scope == scope && name == placed.name) return placed.value;
          return PolicyValue{};
        },
        row.programId);
    EXPECT_EQ("policy: " + row.summary, resolved.summary);
    EXPECT_EQ(row.summary != "none", resolved.inEffect);
    EXPECT_EQ(row.ignored, resolved.ignored.size());
    for (const auto& [scope, name] : asked) {
      if (!*row.programId) {
        EXPECT_NE(S::MachineProgram, scope) << name;
        EXPECT_NE(S::UserProgram, scope) << name;
      }
    }
  }
  const ResolvedPolicy malformed = ResolveUpdatePolicy(
      [](PolicyScope scope, const std::string& name) {
        return scope == S::MachineProgram && name == "UpdatesDisabled" ? Number(7) : PolicyValue{};
      },
      "PROG");
  ASSERT_EQ(1u, malformed.ignored.size());
  EXPECT_EQ(std::string("policy ") + M + "\\PROG\\UpdatesDisabled ignored: not a DWORD 0 or 1",
            malformed.ignored[0]);
}

// [PROG] offers `offered`; the program is installed as `installed` ("" : not installed); the
// local copy is `age` seconds old (-1: none). The refresh serves the same file.
struct CommandRow {
  const char* what;
  LauncherCommand command;
  const char* offered;
  const char* installed;
  int64_t age;
  UpdatePolicy policy;
  Outcome expected;
  bool refreshed, installs;
};

UpdatePolicy Disabled() {
  UpdatePolicy policy;
  policy.updatesDisabled = true;
  return policy;
}
UpdatePolicy Period(uint32_t minutes) {
  UpdatePolicy policy;
  policy.checkPeriodMinutes = minutes;
  return policy;
}
UpdatePolicy Target(int version, std::optional<int> minor = std::nullopt) {
  UpdatePolicy policy;
  policy.targetVersion = VersionPrefix{version, minor};
  return policy;
}
UpdatePolicy PolicyChannel(const char* channel) {
  UpdatePolicy policy;
  policy.channel = channel;
  return policy;
}

TEST(UpdatePolicy, CommandsObeyThePolicy) {
  using C = LauncherCommand;
  using O = Outcome;
  const int64_t stale = 4 * 3600, fresh = 60;
  const CommandRow rows[] = {
      {"disabled: run with a due copy starts the older program", C::Run, "5.3", "5.1", stale,
       Disabled(), O::Started, false, false},
      {"disabled: ForceCheck refreshes nothing either", C::Run, "5.3", "5.1", fresh, Disabled(),
       O::Started, false, false},
      {"disabled: run of a missing program fails as the lookup does", C::Run, "5.3", "", stale,
       Disabled(), O::NoInstallDir, false, false},
      {"disabled: no copy at all", C::Run, "5.3", "5.1", -1, Disabled(), O::NoDataVersion, false,
       false},
      {"disabled: forcerun starts what is there", C::ForceRun, "6.0", "5.1", stale, Disabled(),
       O::Started, false, false},
      {"disabled: install reports what is there", C::Install, "6.0", "5.1", stale, Disabled(),
       O::Installed, false, false},
      {"disabled: checkversion answers from the copy", C::CheckVersion, "6.0", "5.1", stale,
       Disabled(), O::OlderMajorInstalled, false, false},
      {"disabled: update fails", C::Update, "6.0", "5.1", stale, Disabled(), O::UpdateFailed,
       false, false},
      {"period 0: a stale copy is not refreshed", C::Run, "5.3", "5.3", stale, Period(0),
       O::Started, false, false},
      {"period 0: a missing copy is", C::Run, "5.3", "5.3", -1, Period(0), O::Started, true,
       false},
      {"period 300 minutes: four hours is not due", C::Run, "5.3", "5.3", stale, Period(300),
       O::Started, false, false},
      {"period 1 minute: 60 s is not due", C::Run, "5.3", "5.3", fresh, Period(1), O::Started,
       false, false},
      {"period 1 minute: four hours is", C::Run, "5.3", "5.3", stale, Period(1), O::Started, true,
       false},
      {"target 5: 5.2 is kept from 6.0", C::Run, "6.0", "5.2", fresh, Target(5), O::Started, false,
       false},
      {"target 5: 5.3 goes through", C::Run, "5.3", "5.2", fresh, Target(5), O::Started, false,
       true},
      {"target 5.2: 5.3 is not offered", C::Install, "5.3", "5.1", fresh, Target(5, 2),
       O::Installed, false, false},
      {"target 5: checkversion calls 5.2 current against 6.0", C::CheckVersion, "6.0", "5.2",
       fresh, Target(5), O::NewestInstalled, false, false},
      {"target 5: a missing program is still installed", C::Run, "6.0", "", fresh, Target(5),
       O::Started, false, true},
  };
  for (const CommandRow& row : rows) {
    SCOPED_TRACE(row.what);
    FakeLauncherSystem system;
    int version = 0, minor = 0;
    std::sscanf(row.offered, "%d.%d", &version, &minor);
    system.serverFile = FakeLauncherSystem::VersionFile(version, minor);
    system.serverVersion = version;
    system.serverMinor = minor;
    if (row.age >= 0) {
      system.localCopy = system.serverFile;
      system.StampLocalCopy(row.age);
    }
    if (std::sscanf(row.installed, "%d.%d", &version, &minor) == 2) system.Install(version, minor);
    system.policy = row.policy;
    LauncherRequest request;
    request.hasProgramId = true;
    request.programId = "PROG";
    request.settings.CheckMinorVersion = 1;
    request.settings.ForceCheck = row.age == fresh && row.policy.updatesDisabled ? 1 : 0;
    EXPECT_EQ(row.expected, RunLauncherCommand(row.command, request, system));
    EXPECT_EQ(row.refreshed, system.Called("refresh"));
    EXPECT_EQ(row.installs, system.Called("install"));
  }
}

TEST(UpdatePolicy, TheAdministratorsChannelReplacesTheRequestsAndTheInisOwn) {
  FakeLauncherSystem system;
  system.localCopy = FakeLauncherSystem::VersionFile(5, 3);
  system.StampLocalCopy(0);
  system.localCopy[{"PROG@lts", "NAME"}] = "Prog LTS";
  system.launcherIniChannel = "beta";
  system.policy = PolicyChannel("lts");
  LauncherRequest request;
  request.hasProgramId = true;
  request.programId = "PROG";
  request.hasChannel = true;
  request.channel = "beta";
  RunLauncherCommand(LauncherCommand::CheckVersion, request, system);
  EXPECT_NE(system.logLines.end(),
            std::find(system.logLines.begin(), system.logLines.end(), "channel lts: reading [PROG@lts]"));
}

TEST(DownloadAddresses, MirrorsInOrderAndWhoseAddressCounts) {
  const std::map<std::string, std::string> ini = {
      {"URL_2", "http://b/v.ini"}, {"URL_3", ""}, {"URL_4", "http://a/v.ini"},
      {"URL_5", "http://c/v.ini"}, {"URL_9", "http://d/v.ini"}, {"URL_10", "http://e/v.ini"}};
  const auto read = [&](const std::string& key) {
    const auto found = ini.find(key);
    return found == ini.end() ? std::string() : found->second;
  };
  using List = std::vector<std::string>;
  EXPECT_EQ((List{"http://a/v.ini", "http://b/v.ini", "http://c/v.ini", "http://d/v.ini"}),
            NumberedAddresses("http://a/v.ini", "URL", read))
      << "gaps and repeats left out, nothing past _9";
  EXPECT_EQ((List{"http://b/v.ini", "http://a/v.ini", "http://c/v.ini", "http://d/v.ini"}),
            NumberedAddresses("", "URL", read));

  const List inis = {"http://a/v.ini", "http://b/v.ini"};
  UpdatePolicy none, redirected, allowing;
  redirected.versionFileUrl = allowing.versionFileUrl = "https://corp/v.ini";
  allowing.allowRequestUrl = true;
  struct Row {
    const char* what;
    const UpdatePolicy& policy;
    const char* requestUrl;
    List expected;
  } rows[] = {
      {"the INI's mirrors", none, "", inis},
      {"the request's address replaces them", none, "http://host/v.ini", {"http://host/v.ini"}},
      {"the policy's replaces the INI's", redirected, "", {"https://corp/v.ini"}},
      {"and the request's", redirected, "http://host/v.ini", {"https://corp/v.ini"}},
      {"unless it allows the request's", allowing, "http://host/v.ini", {"http://host/v.ini"}},
      {"allowing without a request's", allowing, "", {"https://corp/v.ini"}},
  };
  for (const Row& row : rows)
    EXPECT_EQ(row.expected, ChooseVersionFileAddresses(row.policy, row.requestUrl, inis))
        << row.what;
}

}  // namespace

namespace {

TEST(DownloadAddresses, TheInstallersMirrorsComeFromItsSectionAndMustBeWebAddresses) {
  struct Row {
    const char* what;
    std::vector<std::pair<const char*, const char*>> keys;
    std::vector<std::string> mirrors;
    bool refused;
  } rows[] = {
      {"none", {}, {}, false},
      {"in order, a repeat left out",
       {{"DOWN_URL_3", "http://c/s.exe"}, {"DOWN_URL_2", "http://server/setup.exe"},
        {"DOWN_URL_9", "https://d/s.exe"}},
       {"http://c/s.exe", "https://d/s.exe"},
       false},
      {"a mirror that is no web address", {{"DOWN_URL_2", "file://c/s.exe"}}, {"file://c/s.exe"},
       true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    FakeLauncherSystem system;
    system.localCopy = FakeLauncherSystem::VersionFile(6, 0);
    system.StampLocalCopy(0);
    for (const auto& [key, value] : row.keys) system.localCopy[{"PROG", key}] = value;
    system.Install(5, 0);
    system.serverVersion = 6;  // what the installer installs
    system.serverMinor = 0;
    LauncherRequest request;
    request.hasProgramId = true;
    request.programId = "PROG";
    const InstallerRequest installer = ReadInstallerRequest("PROG", request, system);
    EXPECT_EQ(row.mirrors, installer.mirrorUrls);
    EXPECT_EQ(row.refused, CheckInstallerRequest(installer).has_value());
    EXPECT_EQ(row.refused ? Outcome::NoInstallInformation : Outcome::Started,
              RunLauncherCommand(LauncherCommand::Run, request, system));
    EXPECT_EQ(!row.refused, system.Called("install"));
  }
}

}  // namespace
