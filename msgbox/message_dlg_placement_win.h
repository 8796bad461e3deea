// Placing the message box on the screen: centred over a visible owner, or in the work area
// of the nearest monitor, and always kept inside a work area. Box thread.
#pragma once

#include <windows.h>

// The work area of the monitor nearest to rect; the primary display's work area when the
// monitor cannot be asked.
RECT GetWorkAreaForRect(const RECT& rect);

// Moves rect into the work area of the monitor nearest to it (see ClampRectToArea).
void ClampRectToWorkArea(RECT& rect);

// Centres the laid-out dialog over owner (when it is visible and not minimised) or the
// nearest work area, clamps it into a work area and moves it there without resizing.
void CenterMessageDlg(HWND dialog, HWND owner);
