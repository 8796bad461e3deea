#include "msgbox/message_dlg_placement_win.h"

#include "common/screen_rect.h"

namespace {

ScreenRect ToScreenRect(const RECT& rect) { return {rect.left, rect.top, rect.right, rect.bottom}; }
RECT ToRect(const ScreenRect& rect) { return {rect.left, rect.top, rect.right, rect.bottom}; }

bool IsCentringOwner(HWND owner) {
  if (!owner || !::IsWindow(owner)) return false;
  const LONG style = ::GetWindowLongA(owner, GWL_STYLE);
  return (style & WS_VISIBLE) && !(style & WS_MINIMIZE);
}

}  // namespace

RECT GetWorkAreaForRect(const RECT& rect) {
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  HMONITOR monitor = ::MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST);
  if (monitor && ::GetMonitorInfoA(monitor, &info)) return info.rcWork;
  RECT workArea{};
  ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &workArea, 0);
  return workArea;
}

void ClampRectToWorkArea(RECT& rect) {
  const RECT workArea = GetWorkAreaForRect(rect);
  rect = ToRect(ClampRectToArea(ToScreenRect(rect), ToScreenRect(workArea)));
}

void CenterMessageDlg(HWND dialog, HWND owner) {
  RECT window{};
  if (!::GetWindowRect(dialog, &window)) return;
  const int width = window.right - window.left;
  const int height = window.bottom - window.top;

  RECT reference{};
  if (!(IsCentringOwner(owner) && ::GetWindowRect(owner, &reference))) {
    reference = GetWorkAreaForRect(window);
  }
  RECT placed = ToRect(CenterRectOver(ToScreenRect(reference), width, height));
  ClampRectToWorkArea(placed);
  ::SetWindowPos(dialog, nullptr, placed.left, placed.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
