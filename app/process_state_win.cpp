// Process-wide state of the launcher core, constructed before WinMain. The request itself is
// not process-wide: the main routine reads it once and hands it to the command.
#include <windows.h>

#include "app/launcher_settings.h"
#include "app/result_message_win.h"

const UINT WM_ZULAUNCHER_RESULT = ::RegisterWindowMessageA(kResultMessageName);
