#include "app/installed_program_info.h"

#include "app/launcher_system.h"
#include "common/text.h"

std::string JoinPath(const std::string& dir, const std::string& name, const std::string& sep) {
  std::string tail = name;
  if (tail == sep) {
    tail.clear();
  } else if (!sep.empty() && tail.compare(0, sep.size(), sep) == 0) {
    tail.erase(0, sep.size());
  }
  // The directory ends in the separator only if the separator begins a character there.
  bool endsWithSeparator = false;
  if (!sep.empty() && dir.size() >= sep.size()) {
    size_t seam = dir.size() - sep.size();
    endsWithSeparator = FindSubstring(dir, sep, seam) == seam;
  }
  return endsWithSeparator ? dir + tail : dir + sep + tail;
}

bool IsInstalledVersionCurrent(const InstalledProgramInfo& info, unsigned checkMinorVersion) {
  if (info.LocalVersion < info.ServerVersion) return false;
  if (checkMinorVersion != 0 && info.LocalMinorVersion < info.ServerMinorVersion) return false;
  return true;
}

std::optional<Outcome> GetInstalledProgramInfo(const std::string& section, LauncherSystem& system,
                                               InstalledProgramInfo& info) {
  const std::string registryPath = system.VersionFileString(section, "PATH_REG");
  if (registryPath.empty()) return Outcome::NoPathReg;
  if (!system.ReadRegistryValue(registryPath, info.InstallDir)) return Outcome::NoInstallDir;

  info.ExeName = system.VersionFileString(section, "EXE_NAME");
  if (info.ExeName.empty()) return Outcome::NoExeName;
  const std::string programIniName = system.VersionFileString(section, "INI_FILE_NAME");
  if (programIniName.empty()) return Outcome::NoIniFileName;

  const std::string programIni = JoinPath(info.InstallDir, programIniName, "\\");
  info.LocalVersion = system.ProgramIniInt(programIni, "VERSION");
  if (info.LocalVersion == 0) return Outcome::NoLocalVersion;
  info.LocalMinorVersion = system.ProgramIniInt(programIni, "MINORVERSION");

  info.ServerVersion = system.VersionFileInt(section, "VERSION");
  if (info.ServerVersion == 0) return Outcome::NoServerVersion;
  info.ServerMinorVersion = system.VersionFileInt(section, "MINORVERSION");
  return std::nullopt;
}
