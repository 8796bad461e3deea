// The message box's dialog procedure: set-up, commands and their results, the countdown,
// the close message, painting, activation and dragging. Box thread only.
#pragma once

#include <windows.h>

// lParam of WM_INITDIALOG is the box's MessageDlgState.
INT_PTR CALLBACK MessageDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
