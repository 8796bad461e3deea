// The command core against a machine in memory: every program command across the states of
// the local version file, of the installed program and of the installer, checking the outcome
// and which operations were asked for; then the single steps' rows.
#include "app/launcher_commands.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "app/install_lock_name.h"
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
    const char* installerType = nullptr;  // INSTALLER_TYPE; null: absent
    InstallerKind kind = InstallerKind::Program;
  } rows[] = {
      {"silent wins over auto", nullptr, nullptr, 1, 1, Outcome::Installed, "/S"},
      {"auto", nullptr, nullptr, 0, 1, Outcome::Installed, "/A"},
      {"neither", nullptr, nullptr, 0, 0, Outcome::Installed, ""},
      {"no NAME", "NAME", nullptr, 0, 0, Outcome::NoInstallInformation, nullptr},
      {"no DOWN_URL", "DOWN_URL", nullptr, 0, 0, Outcome::NoInstallInformation, nullptr},
      {"DOWN_URL not a web address", nullptr, "ftp://server/setup.exe", 0, 0,
       Outcome::NoInstallInformation, nullptr},
      {"a package by its path", nullptr, "http://server/setup.msi", 1, 0, Outcome::Installed, "/qn",
       nullptr, InstallerKind::Package},
      {"a package by INSTALLER_TYPE", nullptr, nullptr, 0, 1, Outcome::Installed, "/passive", "Msi",
       InstallerKind::Package},
      {"an unknown INSTALLER_TYPE downloads nothing", nullptr, nullptr, 1, 0,
       Outcome::NoInstallInformation, nullptr, "zip"},
  };
  for (const Row& row : rows) {
    Machine machine(FakeLauncherSystem::VersionFile(5, 3));
    if (row.removedKey) machine.system.localCopy.erase({"PROG", row.removedKey});
    if (row.downUrl) machine.system.localCopy[{"PROG", "DOWN_URL"}] = row.downUrl;
    if (row.installerType) machine.system.localCopy[{"PROG", "INSTALLER_TYPE"}] = row.installerType;
    machine.request.settings.SilentInstall = row.silentInstall;
    machine.request.settings.AutoInstall = row.autoInstall;
    machine.request.agentName = "HostAgent/2";
    EXPECT_EQ(row.expected, machine.Run(LauncherCommand::ForceInstall)) << row.what;
    EXPECT_EQ(row.setupArgs != nullptr, machine.system.Called("install")) << row.what;
    if (!row.setupArgs) continue;
    const InstallerRequest& installer = machine.system.installerRequest;
    EXPECT_EQ("Prog", installer.programName) << row.what;
    EXPECT_EQ(row.downUrl ? row.downUrl : "http://server/setup.exe", installer.downloadUrl)
        << row.what;
    EXPECT_EQ(row.setupArgs, installer.setupArgs) << row.what;
    EXPECT_EQ(row.kind, installer.kind) << row.what;
    EXPECT_EQ("HostAgent/2", installer.agentName) << row.what;
  }
}

// One launcher at a time installs a program: the lock comes before the download and is let go
// after it; a launcher that waited installs only what the other one did not.
TEST(LauncherCommands, TheInstallLockComesFirstAndAWaitLooksAgain) {
  using L = InstallLockResult;
  struct Row {
    const char* what;
    LauncherCommand command;
    bool installed;  // 5.3 is installed, the version file's own
    L lock;
    bool otherInstalls;
    Outcome expected;
    const char* calls;
  } rows[] = {
      {"current: no lock", LauncherCommand::Run, true, L::Taken, false, Outcome::Started, "start"},
      {"missing", LauncherCommand::Run, false, L::Taken, false, Outcome::Started,
       "lock install start unlock"},
      {"the other installed it", LauncherCommand::Run, false, L::TakenAfterWait, true,
       Outcome::Started, "lock start unlock"},
      {"the other did not", LauncherCommand::Install, false, L::TakenAfterWait, false,
       Outcome::Installed, "lock install unlock"},
      {"waiting cancelled", LauncherCommand::Run, false, L::Cancelled, false,
       Outcome::InstallCancelled, "lock unlock"},
      {"forced installs anyway", LauncherCommand::ForceRun, false, L::TakenAfterWait, true,
       Outcome::Started, "lock install start unlock"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    Machine machine(FakeLauncherSystem::VersionFile(5, 3));
    if (!row.installed) machine.system.registry.clear();
    machine.system.lockResult = row.lock;
    machine.system.otherInstalls = row.otherInstalls;
    EXPECT_EQ(row.expected, machine.Run(row.command));
    std::string calls;
    for (const std::string& call : machine.system.calls) calls += (calls.empty() ? "" : " ") + call;
    EXPECT_EQ(row.calls, calls);
    if (machine.system.Called("lock")) {
      EXPECT_EQ(InstallLockName("PROG", FakeLauncherSystem::kRegistryPath),
                machine.system.lockName);
    }
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

// Under a key the installer must be pinned by digest and bounded by size: the digest is named
// first when both are missing.
TEST(LauncherCommands, UnderAVendorKeyOnlyAPinnedInstallerIsRun) {
  const std::string digest(64, 'A');
  struct Row {
    const char* what;
    bool vendorKey;
    std::string downSha256;  // "": no DOWN_SHA256
    std::string downSize;    // "": no DOWN_SIZE
    const char* missing;     // the key the log line names, or null when it installs
  } rows[] = {
      {"no key, no digest: as without signing", false, "", "", nullptr},
      {"no key, a malformed digest is not looked at", false, "xyz", "x", nullptr},
      {"key, no digest", true, "", "70000", "DOWN_SHA256"},
      {"key, neither digest nor size", true, "", "", "DOWN_SHA256"},
      {"key, 63 digits", true, digest.substr(1), "70000", "DOWN_SHA256"},
      {"key, 64 digits and a blank", true, digest + " ", "70000", "DOWN_SHA256"},
      {"key, a digest but no size", true, digest, "", "DOWN_SIZE"},
      {"key, a size that is not decimal", true, digest, "7e4", "DOWN_SIZE"},
      {"key, a negative size", true, digest, "-1", "DOWN_SIZE"},
      {"key, 64 hex digits in upper case and a size", true, digest, "70000", nullptr},
  };
  for (const Row& row : rows) {
    for (LauncherCommand command : {LauncherCommand::Run, LauncherCommand::ForceInstall}) {
      Machine machine(FakeLauncherSystem::VersionFile(5, 3));
      machine.system.registry.clear();  // not installed: run installs too
      machine.system.vendorKey = row.vendorKey;
      if (!row.downSha256.empty())
        machine.system.localCopy[{"PROG", "DOWN_SHA256"}] = row.downSha256;
      if (!row.downSize.empty()) machine.system.localCopy[{"PROG", "DOWN_SIZE"}] = row.downSize;
      const Outcome outcome = machine.Run(command);
      EXPECT_EQ(row.missing == nullptr, machine.system.Called("install")) << row.what;
      const std::vector<std::string>& lines = machine.system.logLines;
      if (row.missing) {
        EXPECT_EQ(Outcome::NoInstallInformation, outcome) << row.what;
        const std::string expected =
            std::string("installer refused: no well-formed ") + row.missing + " under PUBLIC_KEY";
        EXPECT_NE(lines.end(), std::find(lines.begin(), lines.end(), expected)) << row.what;
      } else {
        for (const std::string& line : lines)
          EXPECT_EQ(std::string::npos, line.find("installer refused")) << row.what;
      }
    }
  }
}

// Under a key, a copy that does not verify at use is absent: due whatever its stamp, its keys
// never read, and a failed refresh fails the command as any failed refresh does.
TEST(LauncherCommands, UnderAVendorKeyACopyThatDoesNotVerifyIsNeverActedOn) {
  struct Row {
    const char* what;
    bool copyVerifies;
    bool refreshSucceeds;
    LauncherCommand command;
    Outcome expected;
    bool refreshes;
  } rows[] = {
      {"verified, fresh: used as it is", true, true, LauncherCommand::Run, Outcome::Started, false},
      {"not verified, fresh: refreshed and used", false, true, LauncherCommand::Run,
       Outcome::Started, true},
      {"not verified, refresh fails: run", false, false, LauncherCommand::Run,
       Outcome::RefreshFailed, true},
      {"not verified, refresh fails: checkversion", false, false, LauncherCommand::CheckVersion,
       Outcome::RefreshFailed, true},
      {"not verified, refresh fails: forcerun", false, false, LauncherCommand::ForceRun,
       Outcome::RefreshFailedForced, true},
      {"not verified, refresh fails: update", false, false, LauncherCommand::Update,
       Outcome::UpdateFailed, true},
  };
  for (const Row& row : rows) {
    // A copy that does not verify was edited to offer 9.0 from elsewhere; the server and a
    // copy that verifies offer the installed 5.3.
    FakeLauncherSystem::IniFile edited = FakeLauncherSystem::VersionFile(9, 0);
    edited[{"PROG", "DOWN_URL"}] = "http://elsewhere/evil.exe";
    Machine machine(row.copyVerifies ? FakeLauncherSystem::VersionFile(5, 3) : edited);
    machine.system.serverFile = FakeLauncherSystem::VersionFile(5, 3);
    machine.system.StampLocalCopy(60);
    machine.system.vendorKey = true;
    machine.system.copyVerifies = row.copyVerifies;
    machine.system.refreshSucceeds = row.refreshSucceeds;
    EXPECT_EQ(row.expected, machine.Run(row.command)) << row.what;
    EXPECT_EQ(row.refreshes, machine.system.Called("refresh")) << row.what;
    EXPECT_FALSE(machine.system.Called("install")) << row.what << ": 5.3 is installed";
    if (row.command != LauncherCommand::Update) {
      EXPECT_EQ(1, machine.system.verifications) << row.what;
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

// Channels, staged rollout and the minimum version, one row per case. [PROG] offers 5.3 from
// setup.exe; a channel's section, when the row has one, is named after the channel the row asks
// for (the attribute's, else the INI's, else "beta"), offers 6.0 from beta.exe and then holds
// the row's ROLLOUT and MIN_ keys. The installer installs 6.3. Buckets computed apart from the
// launcher: printf '%s' "<id>:PROG:5.3" | sha256sum, the first 8 hex digits as a number, mod 100.
constexpr char kFixedId[] = "0123456789abcdef0123456789abcdef";  // PROG 5.3: 59, PROG 6.0: 67
constexpr char kDrawnId[] = "000102030405060708090a0b0c0d0e0f";  // the fake's draw; PROG 5.3: 33

enum class Id { Fixed, Drawn, Replaced, Untouched, NotKept };  // before and after
enum class Beta { None, Full, NoDownUrl };

struct RolloutRow {
  const char* what;
  LauncherCommand command;
  const char* installed;  // "4.0"; "5.1+": with CheckMinorVersion; "": not installed
  const char* rollout;    // null: no ROLLOUT
  const char* floor;      // MIN_VERSION[.MIN_MINORVERSION]; "": none
  Beta beta;
  const char* channel;    // CHANNEL of the launcher INI
  const char* attribute;  // Channel of the request; null: none
  Id id;
  Outcome expected;
  char installer;      // 's': setup.exe, 'b': beta.exe, '-': not run
  const char* logged;  // the decision line after "rollout PROG 5.3: "; "": none; null: unchecked
};

TEST(LauncherCommands, ChannelsStagedRolloutAndMinimumVersion) {
  using C = LauncherCommand;
  using B = Beta;
  using O = Outcome;
  const RolloutRow rows[] = {
      {"no ROLLOUT: as before", C::Run, "4.0", nullptr, "5", B::None, "", nullptr, Id::Untouched,
       O::Started, 's', ""},
      {"one above the bucket", C::Run, "4.0", "60", "", B::None, "", nullptr, Id::Fixed, O::Started,
       's', "ROLLOUT=60, bucket 59: offered"},
      {"equal to the bucket", C::Run, "4.0", "59", "", B::None, "", nullptr, Id::Fixed, O::Started,
       '-', "ROLLOUT=59, bucket 59: not offered"},
      {"101", C::Run, "4.0", "101", "", B::None, "", nullptr, Id::Fixed, O::Started, '-',
       "ROLLOUT=101 (not a whole number 0 to 100: offered to nobody), bucket 59: not offered"},
      {"+60", C::Run, "4.0", "+60", "", B::None, "", nullptr, Id::Fixed, O::Started, '-', nullptr},
      {"2^32 + 60 does not wrap", C::Run, "4.0", "4294967356", "", B::None, "", nullptr, Id::Fixed,
       O::Started, '-', nullptr},
      {"not a number, below the floor", C::Run, "4.0", "abc", "5", B::None, "", nullptr, Id::Fixed,
       O::Started, 's', nullptr},
      {"0, below the floor's major", C::Run, "4.9", "0", "5", B::None, "", nullptr, Id::Fixed,
       O::Started, 's', "ROLLOUT=0, bucket 59, installed 4.9 below MIN_VERSION 5.0: offered"},
      {"0, at the floor", C::Run, "4.0", "0", "4", B::None, "", nullptr, Id::Fixed, O::Started, '-',
       "ROLLOUT=0, bucket 59: not offered"},
      {"0, below the floor's minor", C::Run, "4.0", "0", "4.1", B::None, "", nullptr, Id::Fixed,
       O::Started, 's', nullptr},
      {"0, older minor below the floor", C::Run, "5.1+", "0", "5.2", B::None, "", nullptr,
       Id::Fixed, O::Started, 's', nullptr},
      {"0, not installed", C::Run, "", "0", "", B::None, "", nullptr, Id::Fixed, O::Started, 's',
       ""},
      {"0, forceinstall", C::ForceInstall, "4.0", "0", "", B::None, "", nullptr, Id::Fixed,
       O::Installed, 's', ""},
      {"0, install", C::Install, "4.0", "0", "", B::None, "", nullptr, Id::Fixed, O::Installed, '-',
       nullptr},
      {"0, current", C::Run, "5.3", "0", "", B::None, "", nullptr, Id::Fixed, O::Started, '-', ""},
      {"0, checkversion", C::CheckVersion, "4.0", "0", "", B::None, "", nullptr, Id::Fixed,
       O::NewestInstalled, '-', nullptr},
      {"60, checkversion", C::CheckVersion, "4.0", "60", "", B::None, "", nullptr, Id::Fixed,
       O::OlderMajorInstalled, '-', nullptr},
      {"no id: one drawn", C::Run, "4.0", "34", "", B::None, "", nullptr, Id::Drawn, O::Started,
       's', "ROLLOUT=34, bucket 33: offered"},
      {"upper-case id replaced", C::Run, "4.0", "33", "", B::None, "", nullptr, Id::Replaced,
       O::Started, '-', "ROLLOUT=33, bucket 33: not offered"},
      {"id not kept", C::Run, "4.0", "99", "", B::None, "", nullptr, Id::NotKept, O::Started, '-',
       "ROLLOUT=99, no bucket (InstallId could not be stored): not offered"},
      {"id not kept, 100", C::Run, "4.0", "100", "", B::None, "", nullptr, Id::NotKept, O::Started,
       's', nullptr},
      {"CHANNEL beta", C::Run, "5.3", nullptr, "", B::Full, "beta", nullptr, Id::Fixed, O::Started,
       'b', ""},
      {"CHANNEL beta, no such section", C::Run, "5.3", nullptr, "", B::None, "beta", nullptr,
       Id::Fixed, O::Started, '-', ""},
      {"the attribute wins", C::Run, "5.3", nullptr, "", B::Full, "stable", "beta", Id::Fixed,
       O::Started, 'b', ""},
      {"an empty attribute: no channel", C::Run, "5.3", nullptr, "", B::Full, "beta", "",
       Id::Fixed, O::Started, '-', ""},
      {"a path character: not used", C::Run, "5.3", nullptr, "", B::Full, "", "beta/..",
       Id::Fixed, O::Started, '-', ""},
      {"33 characters: not used", C::Run, "5.3", nullptr, "", B::Full,
       "beta-____________________________", nullptr, Id::Fixed, O::Started, '-', ""},
      {"32 characters are a name", C::Run, "5.3", nullptr, "", B::Full,
       "beta-___________________________", nullptr, Id::Fixed, O::Started, 'b', ""},
      {"never a mix: no DOWN_URL in the channel", C::Run, "5.3", nullptr, "", B::NoDownUrl, "beta",
       nullptr, Id::Fixed, O::NoInstallInformation, '-', ""},
      {"checkversion in the channel", C::CheckVersion, "5.3", nullptr, "", B::Full, "beta",
       nullptr, Id::Fixed, O::OlderMajorInstalled, '-', ""},
      {"the channel's ROLLOUT, bucket of ProgramID and 6.0", C::Run, "5.3", "68", "", B::Full,
       "beta", nullptr, Id::Fixed, O::Started, 'b', "ROLLOUT=68, bucket 67: offered"},
  };
  for (const RolloutRow& row : rows) {
    SCOPED_TRACE(row.what);
    Machine machine(FakeLauncherSystem::VersionFile(5, 3));
    FakeLauncherSystem& system = machine.system;
    const std::string asked = row.attribute && *row.attribute ? row.attribute
                              : *row.channel                  ? row.channel
                                                              : "beta";
    const std::string section = row.beta == Beta::None ? "PROG" : "PROG@" + asked;
    if (row.beta != Beta::None) {
      for (const auto& [key, value] : FakeLauncherSystem::VersionFile(6, 0))
        if (key.first == "PROG") system.localCopy[{section, key.second}] = value;
      system.localCopy[{section, "DOWN_URL"}] = "http://server/beta.exe";
      if (row.beta == Beta::NoDownUrl) system.localCopy.erase({section, "DOWN_URL"});
      // The program section's own rollout would offer everything: only the channel's counts.
      system.localCopy[{"PROG", "ROLLOUT"}] = "100";
    }
    if (row.rollout) system.localCopy[{section, "ROLLOUT"}] = row.rollout;
    int floor = 0, floorMinor = 0;
    const int floorParts = std::sscanf(row.floor, "%d.%d", &floor, &floorMinor);
    if (floorParts >= 1) system.localCopy[{section, "MIN_VERSION"}] = std::to_string(floor);
    if (floorParts == 2) system.localCopy[{section, "MIN_MINORVERSION"}] = std::to_string(floorMinor);
    system.registry.clear();
    system.programIni.clear();
    int version = 0, minor = 0;
    if (std::sscanf(row.installed, "%d.%d", &version, &minor) == 2) system.Install(version, minor);
    machine.request.settings.CheckMinorVersion = std::strchr(row.installed, '+') ? 1 : 0;
    system.serverVersion = 6;
    system.serverMinor = 3;
    system.launcherIniChannel = row.channel;
    machine.request.hasChannel = row.attribute != nullptr;
    if (row.attribute) machine.request.channel = row.attribute;
    system.hasInstallId = row.id == Id::Fixed || row.id == Id::Replaced;
    system.installId = row.id == Id::Replaced ? "0123456789ABCDEF0123456789ABCDEF" : kFixedId;
    system.installIdWritable = row.id != Id::NotKept;

    EXPECT_EQ(row.expected, machine.Run(row.command));
    EXPECT_EQ(row.installer != '-', system.Called("install"));
    if (row.installer != '-') {
      EXPECT_EQ(row.installer == 'b' ? "http://server/beta.exe" : "http://server/setup.exe",
                system.installerRequest.downloadUrl);
    }
    EXPECT_EQ(row.expected == Outcome::Started, system.Called("start"));
    const auto decision = std::find_if(
        system.logLines.begin(), system.logLines.end(),
        [](const std::string& line) { return line.compare(0, 8, "rollout ") == 0; });
    const std::string prefix = row.beta == Beta::None ? "rollout PROG 5.3: " : "rollout PROG 6.0: ";
    if (row.logged) {
      EXPECT_EQ(*row.logged ? prefix + row.logged : "(none)",
                decision == system.logLines.end() ? "(none)" : *decision);
    }
    const bool idAfter = row.id == Id::Fixed || row.id == Id::Drawn || row.id == Id::Replaced;
    EXPECT_EQ(idAfter, system.hasInstallId);
    if (idAfter) {
      EXPECT_EQ(row.id == Id::Fixed ? kFixedId : kDrawnId, system.installId);
    }
  }
}

}  // namespace

// Which copy of the version file a command reads where the launcher's folder may refuse this
// user's files. Installed 5.3; the copy beside the launcher offers 5.3, the user's own 6.0, the
// server 7.0, so checkversion's answer shows which was read (41: the user's or the server's).
TEST(LauncherCommands, TheCopyBesideFirstThenTheUsersOwnWhichTheRefreshKeepsWhereHeMayNotWrite) {
  constexpr int64_t kNone = -1, kFresh = 60, kDue = 10801;
  const struct Row {
    const char* what;
    int64_t besideAge, userAge;
    bool refuses;
    unsigned forceCheck;
    bool refreshSucceeds;
    bool looksForUserCopy, refreshes, readsUserCopy;
    Outcome expected;
  } rows[] = {
      {"writable, fresh: nothing more than before", kFresh, kNone, false, 0, true, false, false,
       false, Outcome::NewestInstalled},
      {"refusing, fresh beside: read there", kFresh, kFresh, true, 0, true, false, false, false,
       Outcome::NewestInstalled},
      {"refusing, none beside, the user's fresh", kNone, kFresh, true, 0, true, true, false, true,
       Outcome::OlderMajorInstalled},
      {"refusing, due beside, the user's fresh", kDue, kFresh, true, 0, true, true, false, true,
       Outcome::OlderMajorInstalled},
      {"refusing, both due: the user's refreshed", kDue, kDue, true, 0, true, true, true, true,
       Outcome::OlderMajorInstalled},
      {"refusing, none at all: the user's made", kNone, kNone, true, 0, true, true, true, true,
       Outcome::OlderMajorInstalled},
      {"writable again, both due: refreshed beside", kDue, kDue, false, 0, true, true, true, false,
       Outcome::OlderMajorInstalled},
      {"forced: refreshed into the user's, no lookup", kFresh, kFresh, true, 1, true, false, true,
       true, Outcome::OlderMajorInstalled},
      {"refusing, refresh fails", kNone, kNone, true, 0, false, true, true, false,
       Outcome::RefreshFailed},
  };
  for (const Row& row : rows) {
    Machine machine(FakeLauncherSystem::VersionFile(5, 3));
    FakeLauncherSystem& system = machine.system;
    if (row.besideAge == kNone)
      system.localCopy.clear();
    else
      system.StampLocalCopy(row.besideAge);
    system.hasUserCopy = row.userAge != kNone;
    if (system.hasUserCopy) {
      system.userCopy = FakeLauncherSystem::VersionFile(6, 0);
      system.userCopy[{"GENERAL", "LASTUPDATETIME"}] = std::to_string(system.now - row.userAge);
    }
    system.serverFile = FakeLauncherSystem::VersionFile(7, 0);
    system.folderRefusesWrites = row.refuses;
    system.refreshSucceeds = row.refreshSucceeds;
    machine.request.settings.ForceCheck = row.forceCheck;
    EXPECT_EQ(row.expected, machine.Run(LauncherCommand::CheckVersion)) << row.what;
    EXPECT_EQ(row.looksForUserCopy, system.Called("user copy")) << row.what;
    EXPECT_EQ(row.refreshes, system.Called("refresh")) << row.what;
    EXPECT_EQ(row.readsUserCopy, system.readingUserCopy) << row.what;
  }
}
