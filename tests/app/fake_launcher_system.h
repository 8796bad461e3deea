// A machine in memory for the command core's tests: a local version file, a server's version
// file that the refresh puts in its place, the registry, program INIs, an installer that does
// what the row says, and a record of every operation the commands asked for.
#pragma once

#include <cstdlib>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "app/launcher_system.h"
#include "common/text.h"
#include "tests/app/outcome_print.h"

// What the stand-in installer does when it is run.
enum class InstallerBehaviour {
  Succeeds,               // registers the program with the version the server offers
  IsCancelled,            // the user cancels: nothing changes
  Fails,                  // the transfer or the run fails: nothing changes
  LeavesOlder,            // runs to its end but installs a version older than the server's
  EndsWithoutInstalling,  // runs to its end and changes nothing
};

class FakeLauncherSystem : public LauncherSystem {
 public:
  using IniFile = std::map<std::pair<std::string, std::string>, std::string>;

  static constexpr char kRegistryPath[] = "HKEY_CURRENT_USER\\Software\\Prog\\InstallDir";
  static constexpr char kInstallDir[] = "C:\\Prog";
  static constexpr char kProgramIni[] = "C:\\Prog\\prog.ini";

  // The program section of a version file offering `version`.`minor` of program "PROG".
  static IniFile VersionFile(int version, int minor, const std::string& dataVersion = "1000") {
    IniFile file = {{{"PROG", "PATH_REG"}, kRegistryPath},
                    {{"PROG", "EXE_NAME"}, "prog.exe"},
                    {{"PROG", "INI_FILE_NAME"}, "prog.ini"},
                    {{"PROG", "VERSION"}, std::to_string(version)},
                    {{"PROG", "MINORVERSION"}, std::to_string(minor)},
                    {{"PROG", "NAME"}, "Prog"},
                    {{"PROG", "DOWN_URL"}, "http://server/setup.exe"}};
    if (!dataVersion.empty()) file[{"GENERAL", "ZULAUNCHER_VERSION"}] = dataVersion;
    return file;
  }

  void Install(int version, int minor) {
    registry[kRegistryPath] = kInstallDir;
    programIni[{kProgramIni, "VERSION"}] = version;
    programIni[{kProgramIni, "MINORVERSION"}] = minor;
  }
  void StampLocalCopy(int64_t ageSeconds) {
    localCopy[{"GENERAL", "LASTUPDATETIME"}] = std::to_string(now - ageSeconds);
  }
  bool Called(const std::string& operation) const {
    for (const std::string& call : calls)
      if (call == operation) return true;
    return false;
  }

  // The machine.
  int64_t now = 1'800'000'000;
  IniFile localCopy;  // beside the launcher
  // The user's own copy, which the refresh writes where the launcher's folder refuses him.
  bool hasUserCopy = false;
  IniFile userCopy;
  bool folderRefusesWrites = false;
  bool readingUserCopy = false;
  IniFile serverFile;
  bool refreshSucceeds = true;
  bool vendorKey = false;    // the launcher INI names PUBLIC_KEY
  bool copyVerifies = true;  // under vendorKey: the local copy passes the check at use
  std::map<std::string, std::string> registry;
  std::map<std::pair<std::string, std::string>, int> programIni;
  InstallerBehaviour installer = InstallerBehaviour::Succeeds;
  int serverVersion = 5, serverMinor = 3;  // what a succeeding installer installs
  bool startSucceeds = true;
  std::string launcherIniChannel;  // CHANNEL of the launcher INI
  bool hasInstallId = false;       // HKEY_CURRENT_USER\Software\ZuLauncher InstallId
  std::string installId;
  bool installIdWritable = true;
  UpdatePolicy policy;  // the administrator's
  InstallLockResult lockResult = InstallLockResult::Taken;
  bool otherInstalls = false;  // with TakenAfterWait: the other launcher installed meanwhile

  // What the commands asked for.
  std::vector<std::string> calls;  // "refresh", "lock", "install", "unlock", "start", "store id"
  std::string lockName;
  int verifications = 0;           // checks of the local copy before its use
  InstallerRequest installerRequest;
  std::string startedCommandLine, startedDirectory;
  std::vector<std::string> logLines;

  int64_t Now() override { return now; }
  bool VerifyLocalVersionFile() override {
    ++verifications;
    if (!vendorKey) return true;
    if (!copyVerifies) logLines.push_back("local version file not used");
    return copyVerifies;
  }
  IniFile& CopyInUse() { return readingUserCopy ? userCopy : localCopy; }
  int64_t VersionFileStamp() override {
    IniFile& copy = CopyInUse();
    return std::atoll(copy.count({"GENERAL", "LASTUPDATETIME"})
                          ? copy[{"GENERAL", "LASTUPDATETIME"}].c_str()
                          : "0");
  }
  std::string VersionFileString(const std::string& section, const std::string& key) override {
    if (vendorKey && !copyVerifies) return std::string();  // reads as absent
    const auto found = CopyInUse().find({section, key});
    return found == CopyInUse().end() ? std::string() : found->second;
  }
  int VersionFileInt(const std::string& section, const std::string& key) override {
    return std::atoi(VersionFileString(section, key).c_str());
  }
  bool VersionFileHasSection(const std::string& section) override {
    for (const auto& entry : CopyInUse())
      if (EqualsNoCase(entry.first.first, section)) return true;
    return false;
  }
  bool RefreshVersionFile() override {
    calls.push_back("refresh");
    if (!refreshSucceeds) return false;
    readingUserCopy = folderRefusesWrites;
    hasUserCopy = hasUserCopy || folderRefusesWrites;
    CopyInUse() = serverFile;
    CopyInUse()[{"GENERAL", "LASTUPDATETIME"}] = std::to_string(now);
    copyVerifies = true;
    return true;
  }
  bool UseCopyForThisUser() override {
    calls.push_back("user copy");
    readingUserCopy = hasUserCopy;
    return hasUserCopy;
  }
  bool IsUnderVendorKey() override { return vendorKey; }
  std::string ChannelSetting() override { return launcherIniChannel; }
  const UpdatePolicy& Policy() override { return policy; }
  bool ReadRegistryValue(const std::string& path, std::string& value) override {
    const auto found = registry.find(path);
    if (found == registry.end()) return false;
    value = found->second;
    return true;
  }
  int ProgramIniInt(const std::string& iniPath, const std::string& key) override {
    const auto found = programIni.find({iniPath, key});
    return found == programIni.end() ? 0 : found->second;
  }
  bool ReadInstallId(std::string& id) override {
    if (hasInstallId) id = installId;
    return hasInstallId;
  }
  bool WriteInstallId(const std::string& id) override {
    calls.push_back("store id");
    if (!installIdWritable) return false;
    hasInstallId = true;
    installId = id;
    return true;
  }
  bool CryptoRandom(uint8_t* bytes, size_t count) override {  // draws 00 01 02 ...
    for (size_t i = 0; i < count; ++i) bytes[i] = static_cast<uint8_t>(i);
    return true;
  }
  InstallLockResult TakeInstallLock(const std::string& name) override {
    calls.push_back("lock");
    lockName = name;
    if (lockResult == InstallLockResult::TakenAfterWait && otherInstalls)
      Install(serverVersion, serverMinor);
    return lockResult;
  }
  void ReleaseInstallLock() override { calls.push_back("unlock"); }
  InstallerResult RunInstaller(const InstallerRequest& request) override {
    calls.push_back("install");
    installerRequest = request;
    switch (installer) {
      case InstallerBehaviour::Succeeds:
        Install(serverVersion, serverMinor);
        return InstallerResult::Installed;
      case InstallerBehaviour::IsCancelled:
        return InstallerResult::Cancelled;
      case InstallerBehaviour::Fails:
        return InstallerResult::Failed;
      case InstallerBehaviour::LeavesOlder:
        Install(serverVersion - 1, serverMinor);
        return InstallerResult::Installed;
      case InstallerBehaviour::EndsWithoutInstalling:
        return InstallerResult::Installed;
    }
    return InstallerResult::Failed;
  }
  bool StartProgram(const std::string& commandLine, const std::string& directory) override {
    calls.push_back("start");
    startedCommandLine = commandLine;
    startedDirectory = directory;
    return startSucceeds;
  }
  void Log(const std::string& line) override { logLines.push_back(line); }
};
