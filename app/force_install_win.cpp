#include <string>

#include "app/command_result.h"
#include "app/commands.h"
#include "app/install_program_win.h"
#include "app/installed_program_info.h"
#include "app/launcher_settings.h"
#include "app/load_text.h"
#include "xml/xml_document.h"

bool ForceInstallAndRun(const XmlNode& root, std::string& messageText, int& resultCode,
                        bool installOnly) {
  ProgramRequest request;
  if (!BeginProgramCommand(root, 27, 54, request, messageText, resultCode)) return false;

  std::string installText;
  if (!InstallProgram(request.programId, installText, resultCode)) {
    messageText = installText;
    return false;
  }
  InstalledProgramInfo info;
  std::string lookupText;
  if (!GetInstalledProgramInfo(request.programId, info, lookupText, resultCode)) {
    messageText = lookupText;
    return false;
  }
  if (!IsInstalledVersionCurrent(info, g_launcherSettings.CheckMinorVersion))
    return FailWith(messageText, resultCode, 23, 23);
  if (installOnly) {
    messageText = LoadText(24);
    return true;
  }
  return LaunchProgram(info.InstallDir, info.ExeName, request.launchParam, messageText, resultCode);
}
