// The registered message by which the launcher posts its result code to the host window.
#pragma once

#include <windows.h>

extern const UINT WM_ZULAUNCHER_RESULT;
