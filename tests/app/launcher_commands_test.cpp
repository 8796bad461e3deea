// The command core against a machine in memory: every program command across the states of
// the local version file, of the installed program and of the installer, checking the outcome
// and which operations were asked for; then the single steps' rows.
#include "app/launcher_commands.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/app/fake_launcher_system.h"

namespace {

enum class Copy {
  None,
  Fresh,
  DueRefreshed,
  DueRefreshFailsWithUsableCopy,
  RefreshFailsWithoutCopy
};
struct CopyRow {
  Copy copy;
  const char* what;
  bool refreshed;     // a refresh is asked for
  bool refreshFails;  // and it fails
};
const CopyRow kCopies[] = {
    {Copy::None, "no local copy", true, false},
    {Copy::Fresh, "fresh copy", false, false},
    {Copy::DueRefreshed, "due copy refreshed", true, false},
    {Copy::DueRefreshFailsWithUsableCopy, "refresh fails, usable copy", true, true},
    {Copy::RefreshFailsWithoutCopy, "refresh fails, no copy", true, true},
};

// The server offers 5.3.
struct InstalledRow {
  const char* what;
  int version, minor;  // version 0: not installed
  unsigned checkMinorVersion;
  bool current;
  Outcome checkVersionAnswer;
};
const InstalledRow kInstalled[] = {
    {"not installed", 0, 0, 0, false, Outcome::NotInstalled},
    {"older", 4, 3, 0, false, Outcome::OlderMajorInstalled},
    {"same", 5, 3, 0, true, Outcome::NewestInstalled},
    {"newer", 6, 3, 0, true, Outcome::NewestInstalled},
    {"older minor, unchecked", 5, 1, 0, true, Outcome::NewestInstalled},
    {"older minor, CheckMinorVersion", 5, 1, 1, false, Outcome::OlderMinorInstalled},
};

constexpr Outcome kNotApplicable = Outcome::Count;

struct CommandRow {
  LauncherCommand command;
  const char* word;
  bool forced;
  Outcome refreshFailed;
  Outcome whenCurrent;  // run and install with nothing to install
};
const CommandRow kCommands[] = {
    {LauncherCommand::Run, "run", false, Outcome::RefreshFailed, Outcome::Started},
    {LauncherCommand::CheckVersion, "checkversion", false, Outcome::RefreshFailed, kNotApplicable},
    {LauncherCommand::Install, "install", false, Outcome::RefreshFailed, Outcome::Installed},
    {LauncherCommand::ForceInstall, "forceinstall", true, Outcome::RefreshFailedForced,
     kNotApplicable},
    {LauncherCommand::ForceRun, "forcerun", true, Outcome::RefreshFailedForced, kNotApplicable},
};

// After an installation: the outcome for run, install, forceinstall, forcerun (in that order).
struct InstallerRow {
  InstallerBehaviour behaviour;
  const char* what;
  Outcome afterInstall[4];
};
const InstallerRow kInstallers[] = {
    {InstallerBehaviour::Succeeds,
     "installer succeeds",
     {Outcome::Started, Outcome::Installed, Outcome::Installed, Outcome::Started}},
    {InstallerBehaviour::IsCancelled,
     "installer cancelled",
     {Outcome::InstallCancelled, Outcome::InstallCancelled, Outcome::InstallCancelled,
      Outcome::InstallCancelled}},
    {InstallerBehaviour::Fails,
     "installer fails",
     {Outcome::InstallFailed, Outcome::InstallFailed, Outcome::InstallFailed,
      Outcome::InstallFailed}},
    {InstallerBehaviour::LeavesOlder,
     "installer leaves it older",
     {Outcome::StillOlderAfterInstall, Outcome::StillOlderAfterInstall,
      Outcome::StillOlderAfterForcedInstall, Outcome::StillOlderAfterForcedInstall}},
};

int AfterInstallColumn(LauncherCommand command) {
  switch (command) {
    case LauncherCommand::Run:
      return 0;
    case LauncherCommand::Install:
      return 1;
    case LauncherCommand::ForceInstall:
      return 2;
    default:
      return 3;
  }
}

void PrepareCopy(Copy copy, FakeLauncherSystem& system) {
  const int64_t fourHours = 4 * 3600;
  system.serverFile = FakeLauncherSystem::VersionFile(5, 3);
  switch (copy) {
    case Copy::None:
      break;
    case Copy::Fresh:
      system.localCopy = system.serverFile;
      system.StampLocalCopy(3600);
      break;
    case Copy::DueRefreshed:  // the stale copy offers 1.0: only the refreshed one tells
      system.localCopy = FakeLauncherSystem::VersionFile(1, 0);
      system.StampLocalCopy(fourHours);
      break;
    case Copy::DueRefreshFailsWithUsableCopy:
      system.localCopy = system.serverFile;
      system.StampLocalCopy(fourHours);
      system.refreshSucceeds = false;
      break;
    case Copy::RefreshFailsWithoutCopy:
      system.refreshSucceeds = false;
      break;
  }
}

TEST(LauncherCommands, EveryCommandAcrossCopiesInstalledVersionsAndInstallers) {
  for (const CommandRow& command : kCommands) {
    for (const CopyRow& copy : kCopies) {
      for (const InstalledRow& installed : kInstalled) {
        for (const InstallerRow& installer : kInstallers) {
          SCOPED_TRACE(std::string(command.word) + " / " + copy.what + " / " + installed.what +
                       " / " + installer.what);
          FakeLauncherSystem system;
          PrepareCopy(copy.copy, system);
          if (installed.version != 0) system.Install(installed.version, installed.minor);
          system.installer = installer.behaviour;
          LauncherRequest request;
          request.hasProgramId = true;
          request.programId = "PROG";
          request.launchParam = "-x";
          request.settings.CheckMinorVersion = installed.checkMinorVersion;

          Outcome expected;
          bool installs = false;
          if (copy.refreshFails) {
            expected = command.refreshFailed;
          } else if (command.command == LauncherCommand::CheckVersion) {
            expected = installed.checkVersionAnswer;
          } else if (!command.forced && installed.current) {
            expected = command.whenCurrent;
          } else {
            expected = installer.afterInstall[AfterInstallColumn(command.command)];
            installs = true;
          }

          EXPECT_EQ(expected, RunLauncherCommand(command.command, request, system));
          EXPECT_EQ(copy.refreshed, system.Called("refresh"));
          EXPECT_EQ(installs, system.Called("install"));
          EXPECT_EQ(expected == Outcome::Started, system.Called("start"));
          if (expected == Outcome::Started) {
            EXPECT_EQ("\"C:\\Prog\\prog.exe\" -x", system.startedCommandLine);
            EXPECT_EQ("C:\\Prog", system.startedDirectory);
          }
        }
      }
    }
  }
}

// A request whose fresh local copy is `file` and whose program is installed as 5.3.
struct Machine {
  explicit Machine(const FakeLauncherSystem::IniFile& file) {
    system.localCopy = file;
    system.StampLocalCopy(0);
    system.serverFile = file;
    system.Install(5, 3);
    request.hasProgramId = true;
    request.programId = "PROG";
  }
  Outcome Run(LauncherCommand command) { return RunLauncherCommand(command, request, system); }
  FakeLauncherSystem system;
  LauncherRequest request;
};

TEST(LauncherCommands, DataVersionIsCheckedBeforeAnyProgramData) {
  struct Row {
    const char* dataVersion;
    LauncherCommand command;
    Outcome expected;
  } rows[] = {
      {"", LauncherCommand::Run, Outcome::NoDataVersion},
      {"", LauncherCommand::CheckVersion, Outcome::NoDataVersion},
      {"", LauncherCommand::Install, Outcome::NoDataVersion},
      {"", LauncherCommand::ForceInstall, Outcome::NoDataVersionForced},
      {"", LauncherCommand::ForceRun, Outcome::NoDataVersionForced},
      {"1001", LauncherCommand::Run, Outcome::WrongDataVersion},
      {"01000", LauncherCommand::CheckVersion, Outcome::WrongDataVersion},
      {"999", LauncherCommand::ForceRun, Outcome::WrongDataVersion},
  };
  for (const Row& row : rows) {
    Machine machine(FakeLauncherSystem::VersionFile(5, 3, row.dataVersion));
    machine.system.registry.clear();  // a lookup would fail differently
    EXPECT_EQ(row.expected, machine.Run(row.command)) << "'" << row.dataVersion << "'";
    EXPECT_TRUE(machine.system.calls.empty()) << "'" << row.dataVersion << "'";
  }
}

TEST(LauncherCommands, WithoutProgramIdNothingIsReadOrRefreshed) {
  for (LauncherCommand command :
       {LauncherCommand::Run, LauncherCommand::CheckVersion, LauncherCommand::Install,
        LauncherCommand::ForceInstall, LauncherCommand::ForceRun}) {
    Machine machine(FakeLauncherSystem::VersionFile(5, 3));
    machine.request.hasProgramId = false;
    machine.request.settings.ForceCheck = 1;
    EXPECT_EQ(Outcome::NoProgramId, machine.Run(command));
    EXPECT_TRUE(machine.system.calls.empty());
  }
}

TEST(LauncherCommands, EachMissingPieceOfTheLookupHasItsOutcome) {
  struct Row {
    const char* what;
    const char* removedKey;  // from the program's section, or null
    bool unregistered;
    const char* removedIniKey;  // from the program INI, or null
    Outcome expected;
  } rows[] = {
      {"no PATH_REG", "PATH_REG", false, nullptr, Outcome::NoPathReg},
      {"registry value missing", nullptr, true, nullptr, Outcome::NoInstallDir},
      {"no EXE_NAME", "EXE_NAME", false, nullptr, Outcome::NoExeName},
      {"no INI_FILE_NAME", "INI_FILE_NAME", false, nullptr, Outcome::NoIniFileName},
      {"program INI without VERSION", nullptr, false, "VERSION", Outcome::NoLocalVersion},
      {"no offered VERSION", "VERSION", false, nullptr, Outcome::NoServerVersion},
  };
  for (const Row& row : rows) {
    // checkversion answers "not installed"; run installs because of the failed lookup and
    // reports the second lookup's failure; forcerun reports it after installing anyway.
    for (LauncherCommand command :
         {LauncherCommand::CheckVersion, LauncherCommand::Run, LauncherCommand::ForceRun}) {
      Machine machine(FakeLauncherSystem::VersionFile(5, 3));
      if (row.removedKey) machine.system.localCopy.erase({"PROG", row.removedKey});
      if (row.unregistered) machine.system.registry.clear();
      if (row.removedIniKey)
        machine.system.programIni.erase({FakeLauncherSystem::kProgramIni, row.removedIniKey});
      machine.system.installer = InstallerBehaviour::EndsWithoutInstalling;
      const bool checkOnly = command == LauncherCommand::CheckVersion;
      EXPECT_EQ(checkOnly ? Outcome::NotInstalled : row.expected, machine.Run(command)) << row.what;
      EXPECT_EQ(!checkOnly, machine.system.Called("install")) << row.what;
      EXPECT_FALSE(machine.system.Called("start")) << row.what;
    }
  }
}

TEST(LauncherCommands, InstallerRequestFromTheVersionFileAndTheSettings) {
  struct Row {
    const char* what;
    const char* removedKey;
    const char* downUrl;  // null: the version file's own
    int silentInstall, autoInstall;
    Outcome expected;
    const char* setupArgs;  // null: the installer is not run
  } rows[] = {
      {"silent wins over auto", nullptr, nullptr, 1, 1, Outcome::Installed, "/S"},
      {"auto", nullptr, nullptr, 0, 1, Outcome::Installed, "/A"},
      {"neither", nullptr, nullptr, 0, 0, Outcome::Installed, ""},
      {"no NAME", "NAME", nullptr, 0, 0, Outcome::NoInstallInformation, nullptr},
      {"no DOWN_URL", "DOWN_URL", nullptr, 0, 0, Outcome::NoInstallInformation, nullptr},
      {"DOWN_URL not a web address", nullptr, "ftp://server/setup.exe", 0, 0,
       Outcome::NoInstallInformation, nullptr},
  };
  for (const Row& row : rows) {
    Machine machine(FakeLauncherSystem::VersionFile(5, 3));
    if (row.removedKey) machine.system.localCopy.erase({"PROG", row.removedKey});
    if (row.downUrl) machine.system.localCopy[{"PROG", "DOWN_URL"}] = row.downUrl;
    machine.request.settings.SilentInstall = row.silentInstall;
    machine.request.settings.AutoInstall = row.autoInstall;
    machine.request.agentName = "HostAgent/2";
    EXPECT_EQ(row.expected, machine.Run(LauncherCommand::ForceInstall)) << row.what;
    EXPECT_EQ(row.setupArgs != nullptr, machine.system.Called("install")) << row.what;
    if (!row.setupArgs) continue;
    const InstallerRequest& installer = machine.system.installerRequest;
    EXPECT_EQ("Prog", installer.programName) << row.what;
    EXPECT_EQ("http://server/setup.exe", installer.downloadUrl) << row.what;
    EXPECT_EQ(row.setupArgs, installer.setupArgs) << row.what;
    EXPECT_EQ("HostAgent/2", installer.agentName) << row.what;
  }
}

// DOWN_SIZE and DOWN_SHA256 reach the installer dialog as written (the dialog judges them,
// a malformed one included); without them the request carries none.
TEST(LauncherCommands, InstallerRequestCarriesDownSizeAndDownSha256AsWritten) {
  struct Row {
    const char* what;
    const char* downSize;    // null: not in the version file
    const char* downSha256;  // null: not in the version file
  } rows[] = {
      {"neither key", nullptr, nullptr},
      {"both keys", "48213504", "AB12cd"},
  };
  for (const Row& row : rows) {
    Machine machine(FakeLauncherSystem::VersionFile(5, 3));
    if (row.downSize) machine.system.localCopy[{"PROG", "DOWN_SIZE"}] = row.downSize;
    if (row.downSha256) machine.system.localCopy[{"PROG", "DOWN_SHA256"}] = row.downSha256;
    EXPECT_EQ(Outcome::Installed, machine.Run(LauncherCommand::ForceInstall)) << row.what;
    const InstallerRequest& installer = machine.system.installerRequest;
    EXPECT_EQ(row.downSize ? row.downSize : "", installer.downSize) << row.what;
    EXPECT_EQ(row.downSha256 ? row.downSha256 : "", installer.downSha256) << row.what;
  }
}

TEST(LauncherCommands, UnderAVendorKeyOnlyAPinnedInstallerIsRun) {
  const std::string digest(64, 'A');
  struct Row {
    const char* what;
    bool vendorKey;
    std::string downSha256;  // "": no DOWN_SHA256
    bool installs;
  } rows[] = {
      {"no key, no digest: as without signing", false, "", true},
      {"no key, a malformed digest is not looked at", false, "xyz", true},
      {"key, no digest", true, "", false},
      {"key, 63 digits", true, digest.substr(1), false},
      {"key, 64 digits and a blank", true, digest + " ", false},
      {"key, 64 hex digits in upper case", true, digest, true},
  };
  for (const Row& row : rows) {
    for (LauncherCommand command : {LauncherCommand::Run, LauncherCommand::ForceInstall}) {
      Machine machine(FakeLauncherSystem::VersionFile(5, 3));
      machine.system.registry.clear();  // not installed: run installs too
      machine.system.vendorKey = row.vendorKey;
      if (!row.downSha256.empty()) machine.system.localCopy[{"PROG", "DOWN_SHA256"}] = row.downSha256;
      const Outcome outcome = machine.Run(command);
      EXPECT_EQ(row.installs, machine.system.Called("install")) << row.what;
      const bool logged = std::find(machine.system.logLines.begin(), machine.system.logLines.end(),
                                    "installer refused: no well-formed DOWN_SHA256 under "
                                    "PUBLIC_KEY") != machine.system.logLines.end();
      EXPECT_EQ(!row.installs, logged) << row.what;
      if (!row.installs) {
        EXPECT_EQ(Outcome::NoInstallInformation, outcome) << row.what;
      }
    }
  }
}

TEST(LauncherCommands, ProgramIsStartedInItsDirectoryWithItsParameters) {
  struct Row {
    const char* launchParam;
    bool startSucceeds;
    Outcome expected;
    const char* commandLine;
  } rows[] = {
      {"-x \"a b\"", true, Outcome::Started, "\"C:\\Prog\\prog.exe\" -x \"a b\""},
      {"", true, Outcome::Started, "\"C:\\Prog\\prog.exe\" "},
      {"", false, Outcome::ProgramNotStarted, "\"C:\\Prog\\prog.exe\" "},
  };
  for (const Row& row : rows) {
    Machine machine(FakeLauncherSystem::VersionFile(5, 3));
    machine.request.launchParam = row.launchParam;
    machine.system.startSucceeds = row.startSucceeds;
    EXPECT_EQ(row.expected, machine.Run(LauncherCommand::Run)) << row.commandLine;
    EXPECT_EQ(row.commandLine, machine.system.startedCommandLine);
    EXPECT_EQ("C:\\Prog", machine.system.startedDirectory);
    ASSERT_EQ(1u, machine.system.logLines.size());
    EXPECT_EQ(std::string("ulbax run param: ") + row.commandLine + " " + row.launchParam,
              machine.system.logLines[0]);
  }
}

TEST(LauncherCommands, UpdateOnlyRefreshesAndAnUnknownCommandTouchesNothing) {
  struct Row {
    LauncherCommand command;
    bool refreshSucceeds;
    Outcome expected;
    bool refreshed;
  } rows[] = {
      {LauncherCommand::Update, true, Outcome::Refreshed, true},
      {LauncherCommand::Update, false, Outcome::UpdateFailed, true},
      {LauncherCommand::Unknown, true, Outcome::UnknownCommand, false},
  };
  for (const Row& row : rows) {
    Machine machine(FakeLauncherSystem::VersionFile(5, 3));
    machine.system.refreshSucceeds = row.refreshSucceeds;
    EXPECT_EQ(row.expected, machine.Run(row.command));
    EXPECT_EQ(row.refreshed, machine.system.Called("refresh"));
    EXPECT_EQ(row.refreshed ? 1u : 0u, machine.system.calls.size()) << "nothing but the refresh";
  }
}

// Channels, staged rollout and the minimum version, one row per case. The program section
// offers 5.3 from setup.exe; a [PROG@beta] section, when the row has one, offers 6.0 from
// beta.exe. The stand-in installer installs 6.3, current for either. The buckets were
// computed apart from the launcher: printf '%s' "<id>:PROG:5.3" | sha256sum, the first eight
// hex digits as a number, modulo 100.
constexpr char kFixedId[] = "0123456789abcdef0123456789abcdef";  // PROG 5.3: 59, PROG 6.0: 67
constexpr char kDrawnId[] = "000102030405060708090a0b0c0d0e0f";  // the fake's draw; PROG 5.3: 33

struct Edit {
  const char* section;
  const char* key;
  const char* value;  // null: removed
};

struct RolloutCase {
  explicit RolloutCase(const char* what) : what(what) {}
  RolloutCase& Command(LauncherCommand c) { command = c; return *this; }
  RolloutCase& Installed(int v, int m, unsigned checkMinor = 0) {
    version = v, minor = m, checkMinorVersion = checkMinor;
    return *this;
  }
  RolloutCase& Set(const char* section, const char* key, const char* value) {
    edits.push_back({section, key, value});
    return *this;
  }
  RolloutCase& Beta() { betaSection = true; return *this; }
  RolloutCase& IniChannel(const char* name) { iniChannel = name; return *this; }
  RolloutCase& Attribute(const char* name) { attribute = name; return *this; }
  RolloutCase& StoredId(const char* id) { storedId = id; return *this; }
  RolloutCase& IdNotKept() { idWritable = false; return *this; }
  RolloutCase& NoRandom() { random = false; return *this; }
  RolloutCase& Expect(Outcome o) { expected = o; return *this; }
  RolloutCase& Installs(const char* url) { installerUrl = url; return *this; }
  RolloutCase& Logs(const char* line) { rolloutLine = line; return *this; }
  RolloutCase& LogsChannel(const char* line) { channelLine = line; return *this; }
  RolloutCase& IdAfter(const char* id) { idAfter = id; return *this; }

  const char* what;
  LauncherCommand command = LauncherCommand::Run;
  int version = 4, minor = 0;  // installed; version 0: not installed
  unsigned checkMinorVersion = 0;
  std::vector<Edit> edits;
  bool betaSection = false;
  const char* iniChannel = "";
  const char* attribute = nullptr;  // Channel attribute; null: absent
  const char* storedId = kFixedId;  // null: no InstallId
  bool idWritable = true, random = true;
  Outcome expected = Outcome::Count;
  const char* installerUrl = nullptr;  // null: no installer run
  const char* rolloutLine = nullptr;   // null: no line begins "rollout "
  const char* channelLine = nullptr;   // null: no line begins "channel "
  const char* idAfter = kFixedId;      // null: no InstallId afterwards
};

bool LogHasLineStarting(const std::vector<std::string>& lines, const std::string& start) {
  for (const std::string& line : lines)
    if (line.compare(0, start.size(), start) == 0) return true;
  return false;
}

TEST(LauncherCommands, ChannelsStagedRolloutAndMinimumVersion) {
  using C = LauncherCommand;
  const char* setup = "http://server/setup.exe";
  const char* beta = "http://server/beta.exe";
  const RolloutCase rows[] = {
      // Without the new keys everything is as before: no id is made, nothing is logged.
      RolloutCase("no ROLLOUT: older program updated, no id made").StoredId(nullptr)
          .Expect(Outcome::Started).Installs(setup).IdAfter(nullptr),
      RolloutCase("MIN_VERSION alone holds nothing back").Set("PROG", "MIN_VERSION", "3")
          .StoredId(nullptr).Expect(Outcome::Started).Installs(setup).IdAfter(nullptr),
      // The bucket against the share.
      RolloutCase("ROLLOUT one above the bucket: offered").Set("PROG", "ROLLOUT", "60")
          .Expect(Outcome::Started).Installs(setup)
          .Logs("rollout PROG 5.3: ROLLOUT=60, bucket 59: offered"),
      RolloutCase("ROLLOUT equal to the bucket: started as current").Set("PROG", "ROLLOUT", "59")
          .Expect(Outcome::Started).Logs("rollout PROG 5.3: ROLLOUT=59, bucket 59: not offered"),
      RolloutCase("ROLLOUT 0: started").Set("PROG", "ROLLOUT", "0").Expect(Outcome::Started)
          .Logs("rollout PROG 5.3: ROLLOUT=0, bucket 59: not offered"),
      RolloutCase("ROLLOUT 100: offered").Set("PROG", "ROLLOUT", "100").Expect(Outcome::Started)
          .Installs(setup).Logs("rollout PROG 5.3: ROLLOUT=100, bucket 59: offered"),
      RolloutCase("leading zeros are a whole number").Set("PROG", "ROLLOUT", "060")
          .Expect(Outcome::Started).Installs(setup)
          .Logs("rollout PROG 5.3: ROLLOUT=060, bucket 59: offered"),
      RolloutCase("a new version draws a new bucket").Set("PROG", "ROLLOUT", "11")
          .Set("PROG", "MINORVERSION", "4").Expect(Outcome::Started).Installs(setup)
          .Logs("rollout PROG 5.4: ROLLOUT=11, bucket 10: offered"),
      // Any other ROLLOUT offers to nobody, the floor still applies.
      RolloutCase("ROLLOUT 101").Set("PROG", "ROLLOUT", "101").Expect(Outcome::Started)
          .Logs("rollout PROG 5.3: ROLLOUT=101 (not a whole number 0 to 100: offered to nobody), "
                "bucket 59: not offered"),
      RolloutCase("ROLLOUT -5").Set("PROG", "ROLLOUT", "-5").Expect(Outcome::Started)
          .Logs("rollout PROG 5.3: ROLLOUT=-5 (not a whole number 0 to 100: offered to nobody), "
                "bucket 59: not offered"),
      RolloutCase("ROLLOUT 25%").Set("PROG", "ROLLOUT", "25%").Expect(Outcome::Started)
          .Logs("rollout PROG 5.3: ROLLOUT=25% (not a whole number 0 to 100: offered to nobody), "
                "bucket 59: not offered"),
      RolloutCase("ROLLOUT of 40 digits does not wrap round")
          .Set("PROG", "ROLLOUT", "4294967296000000000000000000000000000050")
          .Expect(Outcome::Started)
          .Logs("rollout PROG 5.3: ROLLOUT=4294967296000000000000000000000000000050 (not a whole "
                "number 0 to 100: offered to nobody), bucket 59: not offered"),
      RolloutCase("ROLLOUT abc, installed below MIN_VERSION").Set("PROG", "ROLLOUT", "abc")
          .Set("PROG", "MIN_VERSION", "5").Expect(Outcome::Started).Installs(setup)
          .Logs("rollout PROG 5.3: ROLLOUT=abc (not a whole number 0 to 100: offered to nobody), "
                "bucket 59, installed 4.0 below MIN_VERSION 5.0: offered"),
      // The minimum version: a pair of plain numbers, major first.
      RolloutCase("ROLLOUT 0, below MIN_VERSION").Set("PROG", "ROLLOUT", "0")
          .Installed(4, 9).Set("PROG", "MIN_VERSION", "5").Expect(Outcome::Started)
          .Installs(setup)
          .Logs("rollout PROG 5.3: ROLLOUT=0, bucket 59, installed 4.9 below MIN_VERSION 5.0: "
                "offered"),
      RolloutCase("ROLLOUT 0, at MIN_VERSION").Set("PROG", "ROLLOUT", "0")
          .Set("PROG", "MIN_VERSION", "4").Expect(Outcome::Started).Logs("rollout PROG 5.3: ROLLOUT=0, bucket 59: not offered"),
      RolloutCase("ROLLOUT 0, below MIN_VERSION.MIN_MINORVERSION").Set("PROG", "ROLLOUT", "0")
          .Set("PROG", "MIN_VERSION", "4").Set("PROG", "MIN_MINORVERSION", "1")
          .Expect(Outcome::Started).Installs(setup)
          .Logs("rollout PROG 5.3: ROLLOUT=0, bucket 59, installed 4.0 below MIN_VERSION 4.1: "
                "offered"),
      RolloutCase("ROLLOUT 0, newer major above the floor's minor").Set("PROG", "ROLLOUT", "0")
          .Installed(4, 0).Set("PROG", "MIN_VERSION", "3").Set("PROG", "MIN_MINORVERSION", "7")
          .Expect(Outcome::Started).Logs("rollout PROG 5.3: ROLLOUT=0, bucket 59: not offered"),
      RolloutCase("ROLLOUT 0, older minor below the floor, CheckMinorVersion")
          .Set("PROG", "ROLLOUT", "0").Installed(5, 1, 1).Set("PROG", "MIN_VERSION", "5")
          .Set("PROG", "MIN_MINORVERSION", "2").Expect(Outcome::Started).Installs(setup)
          .Logs("rollout PROG 5.3: ROLLOUT=0, bucket 59, installed 5.1 below MIN_VERSION 5.2: "
                "offered"),
      // Not installed, forced, install-only, check-only.
      RolloutCase("ROLLOUT 0, not installed: installed").Set("PROG", "ROLLOUT", "0")
          .Installed(0, 0).Expect(Outcome::Started).Installs(setup),
      RolloutCase("ROLLOUT 0, forceinstall").Command(C::ForceInstall).Set("PROG", "ROLLOUT", "0")
          .Expect(Outcome::Installed).Installs(setup),
      RolloutCase("ROLLOUT 0, forcerun").Command(C::ForceRun).Set("PROG", "ROLLOUT", "0")
          .Expect(Outcome::Started).Installs(setup),
      RolloutCase("ROLLOUT 0, install reports completion").Command(C::Install)
          .Set("PROG", "ROLLOUT", "0").Expect(Outcome::Installed).Logs("rollout PROG 5.3: ROLLOUT=0, bucket 59: not offered"),
      RolloutCase("ROLLOUT 0, current program: no decision, no line").Set("PROG", "ROLLOUT", "0")
          .Installed(5, 3).Expect(Outcome::Started),
      RolloutCase("ROLLOUT 0, checkversion: current").Command(C::CheckVersion)
          .Set("PROG", "ROLLOUT", "0").Expect(Outcome::NewestInstalled).Logs("rollout PROG 5.3: ROLLOUT=0, bucket 59: not offered"),
      RolloutCase("ROLLOUT 60, checkversion: older").Command(C::CheckVersion)
          .Set("PROG", "ROLLOUT", "60").Expect(Outcome::OlderMajorInstalled)
          .Logs("rollout PROG 5.3: ROLLOUT=60, bucket 59: offered"),
      RolloutCase("ROLLOUT 59, checkversion, older minor: current").Command(C::CheckVersion)
          .Installed(5, 1, 1).Set("PROG", "ROLLOUT", "59").Expect(Outcome::NewestInstalled)
          .Logs("rollout PROG 5.3: ROLLOUT=59, bucket 59: not offered"),
      RolloutCase("ROLLOUT 60, checkversion, older minor").Command(C::CheckVersion)
          .Installed(5, 1, 1).Set("PROG", "ROLLOUT", "60").Expect(Outcome::OlderMinorInstalled)
          .Logs("rollout PROG 5.3: ROLLOUT=60, bucket 59: offered"),
      RolloutCase("ROLLOUT 0, checkversion, not installed").Command(C::CheckVersion)
          .Installed(0, 0).Set("PROG", "ROLLOUT", "0").Expect(Outcome::NotInstalled),
      // The install id: made, kept, replaced; without one only 100 or the floor offers.
      RolloutCase("no id: one is drawn and kept").StoredId(nullptr).Set("PROG", "ROLLOUT", "34")
          .Expect(Outcome::Started).Installs(setup).IdAfter(kDrawnId)
          .Logs("rollout PROG 5.3: ROLLOUT=34, bucket 33: offered"),
      RolloutCase("upper-case id replaced").StoredId("0123456789ABCDEF0123456789ABCDEF")
          .Set("PROG", "ROLLOUT", "33").Expect(Outcome::Started).IdAfter(kDrawnId)
          .Logs("rollout PROG 5.3: ROLLOUT=33, bucket 33: not offered"),
      RolloutCase("31 digits replaced").StoredId("0123456789abcdef0123456789abcde")
          .Set("PROG", "ROLLOUT", "34").Expect(Outcome::Started).Installs(setup)
          .IdAfter(kDrawnId).Logs("rollout PROG 5.3: ROLLOUT=34, bucket 33: offered"),
      RolloutCase("id cannot be kept: not offered").StoredId(nullptr).IdNotKept()
          .Set("PROG", "ROLLOUT", "99").Expect(Outcome::Started).IdAfter(nullptr)
          .Logs("rollout PROG 5.3: ROLLOUT=99, no bucket (InstallId could not be stored): "
                "not offered"),
      RolloutCase("id cannot be kept, ROLLOUT 100: offered").StoredId(nullptr).IdNotKept()
          .Set("PROG", "ROLLOUT", "100").Expect(Outcome::Started).Installs(setup)
          .IdAfter(nullptr)
          .Logs("rollout PROG 5.3: ROLLOUT=100, no bucket (InstallId could not be stored): "
                "offered"),
      RolloutCase("no random numbers: not offered").StoredId(nullptr).NoRandom()
          .Set("PROG", "ROLLOUT", "99").Expect(Outcome::Started).IdAfter(nullptr)
          .Logs("rollout PROG 5.3: ROLLOUT=99, no bucket (no cryptographic random numbers): "
                "not offered"),
      // Channels: the whole channel section or the whole program section.
      RolloutCase("CHANNEL beta reads [PROG@beta]").Installed(5, 3).Beta().IniChannel("beta")
          .Expect(Outcome::Started).Installs(beta).LogsChannel("channel beta: reading [PROG@beta]"),
      RolloutCase("CHANNEL beta without its section reads [PROG]").Installed(5, 3)
          .IniChannel("beta").Expect(Outcome::Started)
          .LogsChannel("channel beta: reading [PROG]"),
      RolloutCase("no channel: [PROG@beta] is not read").Installed(5, 3).Beta()
          .Expect(Outcome::Started),
      RolloutCase("the attribute wins over CHANNEL").Installed(5, 3).Beta().IniChannel("stable")
          .Attribute("beta").Expect(Outcome::Started).Installs(beta),
      RolloutCase("an empty attribute means no channel").Installed(5, 3).Beta()
          .IniChannel("beta").Attribute("").Expect(Outcome::Started),
      RolloutCase("a path character: not used").Installed(5, 3).Beta().Attribute("beta/..")
          .Expect(Outcome::Started)
          .LogsChannel("Channel 'beta/..' not used (a channel is 1 to 32 of A-Z a-z 0-9 - _): "
                       "no channel"),
      RolloutCase("33 characters: not used").Installed(5, 3).Beta()
          .Set("PROG@aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa", "VERSION", "9")
          .IniChannel("aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa").Expect(Outcome::Started)
          .LogsChannel("CHANNEL 'aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa' not used (a channel is 1 to "
                       "32 of A-Z a-z 0-9 - _): no channel"),
      RolloutCase("32 characters are a name").Command(C::CheckVersion).Installed(5, 3)
          .Set("PROG@aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa", "VERSION", "9")
          .IniChannel("aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa").Expect(Outcome::NotInstalled),
      RolloutCase("never a key-by-key mix: no DOWN_URL in the channel").Installed(5, 3).Beta()
          .Set("PROG@beta", "DOWN_URL", nullptr).IniChannel("beta")
          .Expect(Outcome::NoInstallInformation),
      RolloutCase("checkversion in the channel").Command(C::CheckVersion).Installed(5, 3).Beta()
          .IniChannel("beta").Expect(Outcome::OlderMajorInstalled),
      RolloutCase("the channel's ROLLOUT, bucket of ProgramID and 6.0").Installed(5, 3).Beta()
          .IniChannel("beta").Set("PROG@beta", "ROLLOUT", "68").Expect(Outcome::Started)
          .Installs(beta).Logs("rollout PROG 6.0: ROLLOUT=68, bucket 67: offered"),
      RolloutCase("the channel's ROLLOUT holds it back").Installed(5, 3).Beta()
          .IniChannel("beta").Set("PROG@beta", "ROLLOUT", "67").Set("PROG", "ROLLOUT", "100")
          .Expect(Outcome::Started).Logs("rollout PROG 6.0: ROLLOUT=67, bucket 67: not offered"),
  };
  for (const RolloutCase& row : rows) {
    SCOPED_TRACE(row.what);
    Machine machine(FakeLauncherSystem::VersionFile(5, 3));
    FakeLauncherSystem& system = machine.system;
    if (row.betaSection) {
      for (const auto& entry : FakeLauncherSystem::VersionFile(6, 0))
        if (entry.first.first == "PROG")
          system.localCopy[{"PROG@beta", entry.first.second}] = entry.second;
      system.localCopy[{"PROG@beta", "DOWN_URL"}] = beta;
    }
    for (const Edit& edit : row.edits) {
      if (edit.value)
        system.localCopy[{edit.section, edit.key}] = edit.value;
      else
        system.localCopy.erase({edit.section, edit.key});
    }
    system.programIni.clear();
    system.registry.clear();
    if (row.version != 0) system.Install(row.version, row.minor);
    system.serverVersion = 6;
    system.serverMinor = 3;
    system.launcherIniChannel = row.iniChannel;
    system.hasInstallId = row.storedId != nullptr;
    if (row.storedId) system.installId = row.storedId;
    system.installIdWritable = row.idWritable;
    system.randomAvailable = row.random;
    machine.request.settings.CheckMinorVersion = row.checkMinorVersion;
    machine.request.hasChannel = row.attribute != nullptr;
    if (row.attribute) machine.request.channel = row.attribute;

    EXPECT_EQ(row.expected, machine.Run(row.command));
    EXPECT_EQ(row.installerUrl != nullptr, system.Called("install"));
    if (row.installerUrl) {
      EXPECT_EQ(row.installerUrl, system.installerRequest.downloadUrl);
    }
    EXPECT_EQ(row.expected == Outcome::Started, system.Called("start"));
    if (row.rolloutLine) {
      EXPECT_NE(system.logLines.end(),
                std::find(system.logLines.begin(), system.logLines.end(), row.rolloutLine))
          << "expected: " << row.rolloutLine;
    } else {
      EXPECT_FALSE(LogHasLineStarting(system.logLines, "rollout "));
    }
    if (row.channelLine) {
      EXPECT_NE(system.logLines.end(),
                std::find(system.logLines.begin(), system.logLines.end(), row.channelLine))
          << "expected: " << row.channelLine;
    }
    EXPECT_EQ(row.idAfter != nullptr, system.hasInstallId);
    if (row.idAfter) {
      EXPECT_EQ(row.idAfter, system.installId);
    }
  }
}

}  // namespace
