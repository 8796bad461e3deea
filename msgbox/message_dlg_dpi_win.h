// The message box at the DPI of its monitor: the process declares per-monitor awareness, so
// the system no longer stretches the box, and the box draws itself at the monitor's DPI: its
// font, icon and every length of the 96-DPI layout scaled, again when it is moved to a monitor
// of another DPI (WM_DPICHANGED). At 96 DPI it uses the stock font and the shared icon as
// before. The calls that newer systems alone have are looked up at run time. Box thread only.
#pragma once

#include <windows.h>

struct MessageDlgState;

// The DPI of the window's monitor (GetDpiForWindow), or the screen's where that is missing.
int DpiOfWindow(HWND window);

// Sets m_dpi, m_font (the stock DEFAULT_GUI_FONT when it was made for this DPI, else a copy
// of it scaled to it, owned by the state) and the icon for `dpi`.
void PrepareMessageDlgDpi(MessageDlgState& state, int dpi);

// The box lays itself out anew on WM_DPICHANGED: the dialog manager must not rescale it too.
void KeepDialogManagerFromScaling(HWND dialog);
