// Test support: shows a real message box on the test thread and drives it from a second
// thread (finding the box, reading its controls, posting clicks, keys and close requests).
// The driver always makes sure the box ends, so a test that fails cannot hang the run.
#pragma once

#include <windows.h>

#include <atomic>
#include <string>
#include <thread>

#include "msgbox/message_dlg_win.h"

namespace box_driver_detail {

struct Search {
  HWND found;
  bool needVisible;
};

inline BOOL CALLBACK TakeMessageBox(HWND window, LPARAM param) {
  Search* search = reinterpret_cast<Search*>(param);
  if (!::GetPropA(window, "MessageDlg")) return TRUE;
  if (search->needVisible && !::IsWindowVisible(window)) return TRUE;
  search->found = window;
  return FALSE;
}

}  // namespace box_driver_detail

// An open message box of `threadId`: a top-level window that carries the "MessageDlg"
// property. Waits until it is visible (or, after the timeout, takes an invisible one).
inline HWND FindOpenMessageBox(DWORD threadId, DWORD timeoutMs = 5000) {
  const DWORD start = ::GetTickCount();
  for (;;) {
    const bool late = ::GetTickCount() - start > timeoutMs;
    box_driver_detail::Search search = {nullptr, !late};
    ::EnumThreadWindows(threadId, box_driver_detail::TakeMessageBox,
                        reinterpret_cast<LPARAM>(&search));
    if (search.found || late) return search.found;
    ::Sleep(5);
  }
}

inline bool WaitUntilClosed(HWND box, DWORD timeoutMs) {
  const DWORD start = ::GetTickCount();
  while (::IsWindow(box)) {
    if (::GetTickCount() - start > timeoutMs) return false;
    ::Sleep(5);
  }
  return true;
}

inline std::string WindowText(HWND window) {
  char text[1024] = {};
  ::GetWindowTextA(window, text, sizeof(text));
  return text;
}

inline std::string ControlText(HWND box, int id) { return WindowText(::GetDlgItem(box, id)); }

// The focused window of the box's thread.
inline HWND FocusOfThread(DWORD threadId) {
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  return ::GetGUIThreadInfo(threadId, &info) ? info.hwndFocus : nullptr;
}

// A key press as the dialog manager of the box's modal loop sees it.
inline void PostKey(HWND target, WPARAM key) {
  ::PostMessageA(target, WM_KEYDOWN, key, 0x00000001);
  ::PostMessageA(target, WM_KEYUP, key, 0xC0000001);
}

inline void PostCommand(HWND box, int id) {
  ::PostMessageA(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(::GetDlgItem(box, id)));
}

// Position and size of a control in the box's client coordinates.
inline RECT ControlRect(HWND box, int id) {
  RECT rect{};
  ::GetWindowRect(::GetDlgItem(box, id), &rect);
  ::MapWindowPoints(HWND_DESKTOP, box, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

struct BoxOutcome {
  int result = -100;
  bool found = false;   // the driver saw the box open
  bool forced = false;  // the driver had to close it: the test's own way of closing failed
  DWORD openMs = 0;     // from the driver finding the box to its closing
};

// Runs show() (which calls ShowMessageDlg) on this thread while drive(box, threadId) runs on
// another thread once the box is open. After drive returns, the box has `closeTimeoutMs` to
// close; otherwise the driver closes it with WM_ZMESSAGEBOX_CLOSE and reports `forced`.
template <typename Show, typename Drive>
BoxOutcome RunBox(Show show, Drive drive, DWORD closeTimeoutMs = 3000) {
  const DWORD threadId = ::GetCurrentThreadId();
  std::atomic<bool> found{false};
  std::atomic<bool> forced{false};
  std::atomic<DWORD> openMs{0};
  std::thread driver([&] {
    HWND box = FindOpenMessageBox(threadId);
    if (!box) return;  // the box never opened: show() has returned (or will) by itself
    const DWORD opened = ::GetTickCount();
    found = true;
    drive(box, threadId);
    if (!WaitUntilClosed(box, closeTimeoutMs)) {
      forced = true;
      while (::IsWindow(box)) {
        ::PostMessageA(box, WM_ZMESSAGEBOX_CLOSE, 0, 0);
        ::Sleep(20);
      }
    }
    openMs = ::GetTickCount() - opened;
  });
  BoxOutcome outcome;
  outcome.result = show();
  driver.join();
  outcome.found = found;
  outcome.forced = forced;
  outcome.openMs = openMs;
  return outcome;
}

// The common case: a box with no check box and no custom captions.
inline int ShowPlainBox(const std::string& text, UINT type, UINT options = 0, LPARAM value = 0,
                        HWND owner = nullptr) {
  return ShowMessageDlg(owner, text, "ZU Launcher", type, options, value, nullptr, nullptr);
}
