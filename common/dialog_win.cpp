#include "common/dialog_win.h"

#include "common/screen_rect.h"
#include "common/system_dll_win.h"

namespace {

ScreenRect ToScreenRect(const RECT& rect) {
  return ScreenRect{rect.left, rect.top, rect.right, rect.bottom};
}

// Messages whose result is the dialog procedure's return value itself rather than
// DWLP_MSGRESULT.
bool ReturnsResultDirectly(UINT message) {
  switch (message) {
    case WM_INITDIALOG:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
      return true;
    default:
      return false;
  }
}

}  // namespace

INT_PTR ModalDialog::DoModal(HINSTANCE instance, int resourceId, HWND parent) {
  const CommonControlsScope commonControls;  // the templates use their classes (progress bar)
  return ::DialogBoxParamA(instance, MAKEINTRESOURCEA(resourceId), parent, &DialogProc,
                           reinterpret_cast<LPARAM>(this));
}

bool ModalDialog::EndDialog(INT_PTR value) {
  return m_hWnd && ::EndDialog(m_hWnd, value);
}

HWND ModalDialog::GetItem(int id) const {
  return m_hWnd ? ::GetDlgItem(m_hWnd, id) : nullptr;
}

bool ModalDialog::CenterWindow() {
  if (!m_hWnd) return false;
  RECT window;
  if (!::GetWindowRect(m_hWnd, &window)) return false;

  HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
  bool overOwner = owner && ::IsWindowVisible(owner) && !::IsIconic(owner);
  HMONITOR monitor = overOwner ? ::MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST)
                               : ::MonitorFromWindow(m_hWnd, owner ? MONITOR_DEFAULTTONEAREST
                                                                   : MONITOR_DEFAULTTOPRIMARY);
  MONITORINFO info{};
  info.cbSize = sizeof info;
  RECT workArea;
  if (monitor && ::GetMonitorInfoA(monitor, &info)) {
    workArea = info.rcWork;
  } else if (!::SystemParametersInfoA(SPI_GETWORKAREA, 0, &workArea, 0)) {
    return false;
  }

  RECT reference = workArea;
  if (overOwner && !::GetWindowRect(owner, &reference)) reference = workArea;

  ScreenPoint origin =
      CentredOrigin(ToScreenRect(window), ToScreenRect(reference), ToScreenRect(workArea));
  return ::SetWindowPos(m_hWnd, nullptr, origin.x, origin.y, 0, 0,
                        SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE) != FALSE;
}

INT_PTR CALLBACK ModalDialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  ModalDialog* dialog = nullptr;
  if (message == WM_INITDIALOG) {
    dialog = reinterpret_cast<ModalDialog*>(lParam);
    ::SetWindowLongPtrA(window, DWLP_USER, lParam);
    if (dialog) dialog->m_hWnd = window;
  } else {
    dialog = reinterpret_cast<ModalDialog*>(::GetWindowLongPtrA(window, DWLP_USER));
  }
  // Messages before WM_INITDIALOG (WM_SETFONT, ...) find no object: default processing.
  if (!dialog) return FALSE;

  LRESULT result = 0;
  bool handled = false;
  try {
    handled = dialog->ProcessWindowMessage(message, wParam, lParam, result);
  } catch (...) {
    // No exception may unwind through the system's dialog manager.
    handled = false;
  }

  if (message == WM_NCDESTROY) {
    ::SetWindowLongPtrA(window, DWLP_USER, 0);
    dialog->m_hWnd = nullptr;
  }
  if (!handled) return FALSE;
  if (ReturnsResultDirectly(message)) return static_cast<INT_PTR>(result);
  ::SetWindowLongPtrA(window, DWLP_MSGRESULT, result);
  return TRUE;
}
