#include "app/launcher_commands.h"

#include <optional>
#include <string>

#include "app/install_lock_name.h"
#include "app/install_step.h"
#include "app/installed_program_info.h"
#include "app/program_command_line.h"
#include "app/release_channel.h"
#include "app/rollout.h"
#include "common/format.h"
#include "versionfile/version_refresh.h"

namespace {

// The forced commands report three failures with outcomes of their own, so that the host can
// tell the two command families apart.
struct CommandFamily {
  Outcome refreshFailed;
  Outcome noDataVersion;
  Outcome stillOlder;
};
constexpr CommandFamily kCheckedFamily = {Outcome::RefreshFailed, Outcome::NoDataVersion,
                                          Outcome::StillOlderAfterInstall};
constexpr CommandFamily kForcedFamily = {Outcome::RefreshFailedForced, Outcome::NoDataVersionForced,
                                         Outcome::StillOlderAfterForcedInstall};

constexpr char kSupportedDataVersion[] = "1000";

// Under vendor keys the copy is verified before anything is read from it, and one that does
// not verify is due whatever its stamp. An administrator may set the period or stop refreshes.
bool IsCopyInUseDue(const LauncherRequest& request, LauncherSystem& system) {
  const bool verified = system.VerifyLocalVersionFile();
  const UpdatePolicy& policy = system.Policy();
  if (policy.updatesDisabled) return false;
  const int64_t period = policy.checkPeriodMinutes ? int64_t{60} * *policy.checkPeriodMinutes
                                                   : kVersionFileRefreshSeconds;
  return IsLocalCopyDue(verified, system.Now(), system.VersionFileStamp(),
                        request.settings.ForceCheck, period);
}

// Whether an installed program older than its section's version is offered that version: not
// when the administrator holds it to another version line, else as the staged rollout says.
bool IsOfferedHere(const std::string& section, const InstalledProgramInfo& info,
                   const LauncherRequest& request, LauncherSystem& system) {
  const std::optional<VersionPrefix>& target = system.Policy().targetVersion;
  if (target && !IsWithinTargetVersion(*target, info.ServerVersion, info.ServerMinorVersion)) {
    system.Log(Format("policy TargetVersionPrefix=%s: %s %d.%d not offered",
                      FormatVersionPrefix(*target).c_str(), request.programId.c_str(),
                      info.ServerVersion, info.ServerMinorVersion));
    return false;
  }
  return IsUpdateOffered(request.programId, section, info, system);
}

// The copy beside the launcher first, so a folder the user may write costs nothing more; only
// when that one is due (or missing) is the user's own copy looked for, which the refresh keeps
// where he may not write. Forced, both are due anyway.
bool IsLocalVersionFileDue(const LauncherRequest& request, LauncherSystem& system) {
  if (!IsCopyInUseDue(request, system)) return false;
  if (request.settings.ForceCheck != 0 || !system.UseCopyForThisUser()) return true;
  return IsCopyInUseDue(request, system);
}

// The steps every program command begins with: ProgramID, the refresh when due, the data
// version (compared as text: "01000" is not "1000").
std::optional<Outcome> BeginProgramCommand(const CommandFamily& family,
                                           const LauncherRequest& request, LauncherSystem& system) {
  if (!request.hasProgramId) return Outcome::NoProgramId;
  if (IsLocalVersionFileDue(request, system) && !system.RefreshVersionFile())
    return family.refreshFailed;
  const std::string dataVersion = system.VersionFileString("GENERAL", "ZULAUNCHER_VERSION");
  if (dataVersion.empty()) return family.noDataVersion;
  if (dataVersion != kSupportedDataVersion) return Outcome::WrongDataVersion;
  return std::nullopt;
}

Outcome LaunchProgram(const InstalledProgramInfo& info, const LauncherRequest& request,
                      LauncherSystem& system) {
  const std::string commandLine =
      BuildProgramCommandLine(info.InstallDir, info.ExeName, request.launchParam);
  system.Log(Format("ulbax run param: %s %s", commandLine.c_str(), request.launchParam.c_str()));
  return system.StartProgram(commandLine, info.InstallDir) ? Outcome::Started
                                                           : Outcome::ProgramNotStarted;
}

// Under UpdatesDisabled nothing is refreshed or installed: the installed program is reported
// or started as it is, and a program that cannot be found ends with the lookup's own outcome.
Outcome WithoutInstalling(const CommandFamily& family, bool installOnly,
                          const LauncherRequest& request, LauncherSystem& system) {
  if (const std::optional<Outcome> failed = BeginProgramCommand(family, request, system))
    return *failed;
  InstalledProgramInfo info;
  if (const std::optional<Outcome> failed =
          GetInstalledProgramInfo(ChooseProgramSection(request, system), system, info))
    return *failed;
  return installOnly ? Outcome::Installed : LaunchProgram(info, request, system);
}

// Holds the program's install lock for as long as it lives.
class InstallLock {
 public:
  InstallLock(const std::string& section, const LauncherRequest& request, LauncherSystem& system)
      : m_system(system),
        m_result(system.TakeInstallLock(
            InstallLockName(request.programId, system.VersionFileString(section, "PATH_REG")))) {}
  ~InstallLock() { m_system.ReleaseInstallLock(); }
  InstallLock(const InstallLock&) = delete;
  InstallLock& operator=(const InstallLock&) = delete;

  InstallLockResult result() const { return m_result; }

 private:
  LauncherSystem& m_system;
  const InstallLockResult m_result;
};

// After an installation, or when nothing had to be installed: the final comparison, then
// completion or the start of the program.
Outcome FinishProgramCommand(const CommandFamily& family, const InstalledProgramInfo& info,
                             bool installOnly, const LauncherRequest& request,
                             LauncherSystem& system) {
  if (!IsInstalledVersionCurrent(info, request.settings.CheckMinorVersion))
    return family.stillOlder;
  if (installOnly) return Outcome::Installed;
  return LaunchProgram(info, request, system);
}

// An older program that a staged rollout does not offer the update to counts as current.
Outcome CheckVersion(const LauncherRequest& request, LauncherSystem& system) {
  if (const std::optional<Outcome> failed = BeginProgramCommand(kCheckedFamily, request, system))
    return *failed;
  const std::string section = ChooseProgramSection(request, system);
  InstalledProgramInfo info;
  if (GetInstalledProgramInfo(section, system, info)) return Outcome::NotInstalled;
  if (!IsInstalledVersionCurrent(info, request.settings.CheckMinorVersion) &&
      !IsOfferedHere(section, info, request, system))
    return Outcome::NewestInstalled;
  if (info.LocalVersion < info.ServerVersion) return Outcome::OlderMajorInstalled;
  if (request.settings.CheckMinorVersion != 0 && info.LocalMinorVersion < info.ServerMinorVersion)
    return Outcome::OlderMinorInstalled;
  return Outcome::NewestInstalled;
}

// run and install: the first lookup decides whether to install; its failure is not reported,
// it is the reason to install (a missing program gets the offered version whatever a staged
// rollout says). An older program the rollout holds back is treated as current.
Outcome CheckAndRun(bool installOnly, const LauncherRequest& request, LauncherSystem& system) {
  if (system.Policy().updatesDisabled)
    return WithoutInstalling(kCheckedFamily, installOnly, request, system);
  if (const std::optional<Outcome> failed = BeginProgramCommand(kCheckedFamily, request, system))
    return *failed;
  const std::string section = ChooseProgramSection(request, system);
  InstalledProgramInfo info;
  const bool found = !GetInstalledProgramInfo(section, system, info);
  const bool current = found && IsInstalledVersionCurrent(info, request.settings.CheckMinorVersion);
  if (found && !current && !IsOfferedHere(section, info, request, system))
    return installOnly ? Outcome::Installed : LaunchProgram(info, request, system);
  if (current) return FinishProgramCommand(kCheckedFamily, info, installOnly, request, system);
  // One launcher at a time installs a program; one that waited finds what the other did.
  const InstallLock lock(section, request, system);
  if (lock.result() == InstallLockResult::Cancelled) return Outcome::InstallCancelled;
  const bool installedMeanwhile =
      lock.result() == InstallLockResult::TakenAfterWait &&
      !GetInstalledProgramInfo(section, system, info) &&
      IsInstalledVersionCurrent(info, request.settings.CheckMinorVersion);
  if (!installedMeanwhile) {
    if (const std::optional<Outcome> failed = InstallProgram(section, request, system))
      return *failed;
    if (const std::optional<Outcome> failed = GetInstalledProgramInfo(section, system, info))
      return *failed;
  }
  return FinishProgramCommand(kCheckedFamily, info, installOnly, request, system);
}

// A staged rollout does not hold back a forced installation.
Outcome ForceInstallAndRun(bool installOnly, const LauncherRequest& request,
                           LauncherSystem& system) {
  if (system.Policy().updatesDisabled)
    return WithoutInstalling(kForcedFamily, installOnly, request, system);
  if (const std::optional<Outcome> failed = BeginProgramCommand(kForcedFamily, request, system))
    return *failed;
  const std::string section = ChooseProgramSection(request, system);
  // A forced installation waits for another launcher's, then installs all the same.
  const InstallLock lock(section, request, system);
  if (lock.result() == InstallLockResult::Cancelled) return Outcome::InstallCancelled;
  if (const std::optional<Outcome> failed = InstallProgram(section, request, system))
    return *failed;
  InstalledProgramInfo info;
  if (const std::optional<Outcome> failed = GetInstalledProgramInfo(section, system, info))
    return *failed;
  return FinishProgramCommand(kForcedFamily, info, installOnly, request, system);
}

Outcome Update(LauncherSystem& system) {
  if (system.Policy().updatesDisabled) {
    system.Log("update not done: the policy UpdatesDisabled is in effect");
    return Outcome::UpdateFailed;
  }
  return system.RefreshVersionFile() ? Outcome::Refreshed : Outcome::UpdateFailed;
}

}  // namespace

Outcome RunLauncherCommand(LauncherCommand command, const LauncherRequest& request,
                           LauncherSystem& system) {
  system.Policy();  // read and logged once, before anything it may steer
  switch (command) {
    case LauncherCommand::Run:
      return CheckAndRun(false, request, system);
    case LauncherCommand::CheckVersion:
      return CheckVersion(request, system);
    case LauncherCommand::Install:
      return CheckAndRun(true, request, system);
    case LauncherCommand::ForceInstall:
      return ForceInstallAndRun(true, request, system);
    case LauncherCommand::ForceRun:
      return ForceInstallAndRun(false, request, system);
    case LauncherCommand::Update:
      return Update(system);
    case LauncherCommand::Unknown:
      break;
  }
  return Outcome::UnknownCommand;
}
