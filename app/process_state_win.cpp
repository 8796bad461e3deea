// Process-wide state of the launcher core, constructed before WinMain in this order and
// destroyed in reverse at exit.
#include <windows.h>

#include "app/launcher_settings.h"
#include "app/result_message_win.h"
#include "env/directories_win.h"

const UINT WM_ZULAUNCHER_RESULT = ::RegisterWindowMessageA(kResultMessageName);
std::string AgentName = "ZuLauncher";
std::string LocalVersionFilePath = GetModuleDir() + "_ZuVersion_temp_.ini";
std::string VersionFileURL;
LauncherSettings g_launcherSettings;
