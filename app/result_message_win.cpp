#include "app/result_message_win.h"

#include "app/launcher_settings.h"

// Registered while the process starts, before WinMain.
const UINT WM_ZULAUNCHER_RESULT = ::RegisterWindowMessageA(kResultMessageName);
