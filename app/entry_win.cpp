// The process entry: prepares the process and serves the request on the command line.
#include <windows.h>

#include <string>

#include "app/launcher_main.h"
#include "common/system_dll_win.h"
#include "env/directories_win.h"
#include "env/log.h"
#include "msgbox/message_dlg_win.h"
#include "res/resource.h"

namespace {

// Before every other static initialiser (101 is the first priority a program may use), so
// that nothing this process loads later can come from beside it or from the current
// directory.
struct DllSearchRestriction {
  DllSearchRestriction() { RestrictDllSearchToSystemFolder(); }
} const g_dllSearchRestriction __attribute__((init_priority(101)));

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
  SetMessageDlgResources(instance, IDI_APPLICATION_ICON);
  // Relative names in plain file operations then land where the INI functions anchor them.
  ::SetCurrentDirectoryA(GetModuleDir().c_str());
  LogLine("currentdir:%s", GetCurrentDir().c_str());
  // The common controls are initialised by the first dialog or box (CommonControlsScope):
  // the quick road shows neither and never loads them.
  return ZuLauncherMain(commandLine ? commandLine : "");
}
