#include <string>

#include "app/command_result.h"
#include "app/installed_program_info.h"
#include "app/launcher_settings.h"
#include "app/load_text.h"
#include "env/ini_profile_win.h"
#include "env/registry_path_win.h"

bool GetInstalledProgramInfo(const std::string& programId, InstalledProgramInfo& info,
                             std::string& messageText, int& resultCode) {
  const std::string& versionFile = LocalVersionFilePath;
  const std::string registryPath = ReadIniString(programId, "PATH_REG", versionFile, "");
  if (registryPath.empty()) return FailWith(messageText, resultCode, 45, 51);
  if (!ReadRegistryValue(registryPath, info.InstallDir)) return FailWith(messageText, resultCode, 9, 16);

  info.ExeName = ReadIniString(programId, "EXE_NAME", versionFile, "");
  if (info.ExeName.empty()) return FailWith(messageText, resultCode, 10, 17);
  const std::string programIniName = ReadIniString(programId, "INI_FILE_NAME", versionFile, "");
  if (programIniName.empty()) return FailWith(messageText, resultCode, 11, 18);

  const std::string programIni = JoinPath(info.InstallDir, programIniName, "\\");
  info.LocalVersion = ReadIniInt("GENERAL", "VERSION", 0, programIni);
  if (info.LocalVersion == 0) return FailWith(messageText, resultCode, 12, 19);
  info.LocalMinorVersion = ReadIniInt("GENERAL", "MINORVERSION", 0, programIni);

  info.ServerVersion = ReadIniInt(programId, "VERSION", 0, versionFile);
  if (info.ServerVersion == 0) return FailWith(messageText, resultCode, 13, 20);
  info.ServerMinorVersion = ReadIniInt(programId, "MINORVERSION", 0, versionFile);
  return true;
}
