#include <windows.h>

#include <string>

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

namespace {

bool Fail(std::string& messageText, int& resultCode, int textId, int code) {
  messageText = LoadText(textId);
  resultCode = code;
  return false;
}

bool Report(std::string& messageText, int& resultCode, int textId, int code) {
  messageText = LoadText(textId);
  resultCode = code;
  return true;
}

}  // namespace

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
  if (!started) return Fail(messageText, resultCode, 7, 14);
  return true;
}

bool CheckAndRun(const XmlNode& root, std::string& messageText, int& resultCode, bool checkOnly,
                 bool installOnly) {
  std::string programId;
  if (!root.GetAttribute("ProgramID", programId)) return Fail(messageText, resultCode, 16, 11);
  std::string launchParam;
  root.GetAttribute("LaunchParam", launchParam);

  if (IsLocalVersionFileDue() && !UpdateVersionFile()) return Fail(messageText, resultCode, 17, 5);

  const std::string dataVersion =
      ReadIniString("GENERAL", "ZULAUNCHER_VERSION", LocalVersionFilePath, "");
  if (dataVersion.empty()) return Fail(messageText, resultCode, 45, 52);
  if (dataVersion != "1000") return Fail(messageText, resultCode, 18, 12);

  const unsigned checkMinor = g_launcherSettings.CheckMinorVersion;
  InstalledProgramInfo info;
  std::string lookupText;
  const bool found = GetInstalledProgramInfo(programId, info, lookupText, resultCode);

  if (checkOnly) {
    if (!found) return Report(messageText, resultCode, 19, 40);
    if (info.LocalVersion < info.ServerVersion) return Report(messageText, resultCode, 20, 41);
    if (checkMinor != 0 && info.LocalMinorVersion < info.ServerMinorVersion)
      return Report(messageText, resultCode, 21, 42);
    return Report(messageText, resultCode, 22, 0);
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

  if (!IsInstalledVersionCurrent(info, checkMinor)) return Fail(messageText, resultCode, 23, 21);
  if (installOnly) return Report(messageText, resultCode, 24, 0);
  return LaunchProgram(info.InstallDir, info.ExeName, launchParam, messageText, resultCode);
}
