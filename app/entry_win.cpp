// The process entry: prepares the process and serves the request on the command line.
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "app/launcher_main.h"
#include "env/directories_win.h"
#include "env/log.h"
#include "msgbox/message_dlg_win.h"
#include "res/resource.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
  SetMessageDlgResources(instance, IDI_APPLICATION_ICON);
  // Relative names in plain file operations then land where the INI functions anchor them.
  ::SetCurrentDirectoryA(GetModuleDir().c_str());
  LogLine("currentdir:%s", GetCurrentDir().c_str());

  ::InitCommonControls();
  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof controls;
  controls.dwICC = 0x7FF;  // every class up to the rebar classes
  ::InitCommonControlsEx(&controls);

  return ZuLauncherMain(commandLine ? commandLine : "");
}
