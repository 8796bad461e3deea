#include <string>

#include "app/commands.h"
#include "app/install_program_win.h"
#include "app/installed_program_info.h"
#include "app/launcher_settings.h"
#include "app/load_text.h"
#include "app/version_file.h"
#include "env/ini_profile_win.h"
#include "xml/xml_document.h"

namespace {

bool Fail(std::string& messageText, int& resultCode, int textId, int code) {
  messageText = LoadText(textId);
  resultCode = code;
  return false;
}

}  // namespace

bool ForceInstallAndRun(const XmlNode& root, std::string& messageText, int& resultCode,
                        bool installOnly) {
  std::string programId;
  if (!root.GetAttribute("ProgramID", programId)) return Fail(messageText, resultCode, 16, 11);
  std::string launchParam;
  root.GetAttribute("LaunchParam", launchParam);

  // The forced commands keep codes and texts of their own, so the host can tell them apart.
  if (IsLocalVersionFileDue() && !UpdateVersionFile()) return Fail(messageText, resultCode, 27, 5);

  const std::string dataVersion =
      ReadIniString("GENERAL", "ZULAUNCHER_VERSION", LocalVersionFilePath, "");
  if (dataVersion.empty()) return Fail(messageText, resultCode, 45, 54);
  if (dataVersion != "1000") return Fail(messageText, resultCode, 18, 12);

  std::string installText;
  if (!InstallProgram(programId, installText, resultCode)) {
    messageText = installText;
    return false;
  }
  InstalledProgramInfo info;
  std::string lookupText;
  if (!GetInstalledProgramInfo(programId, info, lookupText, resultCode)) {
    messageText = lookupText;
    return false;
  }
  if (!IsInstalledVersionCurrent(info, g_launcherSettings.CheckMinorVersion))
    return Fail(messageText, resultCode, 23, 23);
  if (installOnly) {
    messageText = LoadText(24);
    return true;
  }
  return LaunchProgram(info.InstallDir, info.ExeName, launchParam, messageText, resultCode);
}
