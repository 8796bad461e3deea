#include <windows.h>

#include <string>

#include "app/command_result.h"
#include "app/commands.h"
#include "app/install_program_win.h"
#include "app/installed_program_info.h"
#include "app/launcher_settings.h"
#include "app/load_text.h"
#include "app/version_file.h"
#include "common/unique_handle_win.h"
#include "env/ini_profile_win.h"
#include "env/log.h"
#include "xml/xml_document.h"

bool LaunchProgram(const std::string& installDir, const std::string& exeName,
                   const std::string& launchParam, std::string& messageText, int& resultCode) {
  const std::string commandLine = BuildProgramCommandLine(installDir, exeName, launchParam);
  LogLine("ulbax run param: %s %s", commandLine.c_str(), launchParam.c_str());

  std::string writableCommandLine = commandLine;  // CreateProcessA may write into it
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  const BOOL started = ::CreateProcessA(nullptr, writableCommandLine.data(), nullptr, nullptr,
                                        FALSE, 0, nullptr, installDir.c_str(), &startup, &process);
  UniqueKernelHandle processHandle(process.hProcess);
  UniqueKernelHandle threadHandle(process.hThread);
  if (!started) return FailWith(messageText, resultCode, 7, 14);
  return true;
}

bool BeginProgramCommand(const XmlNode& root, int refreshFailedTextId, int noDataVersionCode,
                         ProgramRequest& request, std::string& messageText, int& resultCode) {
  if (!root.GetAttribute("ProgramID", request.programId))
    return FailWith(messageText, resultCode, 16, 11);
  root.GetAttribute("LaunchParam", request.launchParam);

  if (IsLocalVersionFileDue() && !UpdateVersionFile())
    return FailWith(messageText, resultCode, refreshFailedTextId, 5);

  const std::string dataVersion =
      ReadIniString("GENERAL", "ZULAUNCHER_VERSION", LocalVersionFilePath, "");
  if (dataVersion.empty()) return FailWith(messageText, resultCode, 45, noDataVersionCode);
  if (dataVersion != "1000") return FailWith(messageText, resultCode, 18, 12);
  return true;
}

bool CheckAndRun(const XmlNode& root, std::string& messageText, int& resultCode, bool checkOnly,
                 bool installOnly) {
  ProgramRequest request;
  if (!BeginProgramCommand(root, 17, 52, request, messageText, resultCode)) return false;
  const std::string& programId = request.programId;

  const unsigned checkMinor = g_launcherSettings.CheckMinorVersion;
  InstalledProgramInfo info;
  std::string lookupText;
  const bool found = GetInstalledProgramInfo(programId, info, lookupText, resultCode);

  if (checkOnly) {
    if (!found) return SucceedWith(messageText, resultCode, 19, 40);
    if (info.LocalVersion < info.ServerVersion) return SucceedWith(messageText, resultCode, 20, 41);
    if (checkMinor != 0 && info.LocalMinorVersion < info.ServerMinorVersion)
      return SucceedWith(messageText, resultCode, 21, 42);
    return SucceedWith(messageText, resultCode, 22, 0);
  }

  if (!found || !IsInstalledVersionCurrent(info, checkMinor)) {
    // The first lookup's failure is not reported: it is the reason to install.
    resultCode = 0;
    std::string installText;
    if (!InstallProgram(programId, installText, resultCode)) {
      messageText = installText;
      return false;
    }
    if (!GetInstalledProgramInfo(programId, info, lookupText, resultCode)) {
      messageText = lookupText;
      return false;
    }
  }

  if (!IsInstalledVersionCurrent(info, checkMinor)) return FailWith(messageText, resultCode, 23, 21);
  if (installOnly) return SucceedWith(messageText, resultCode, 24, 0);
  return LaunchProgram(info.InstallDir, info.ExeName, request.launchParam, messageText, resultCode);
}
