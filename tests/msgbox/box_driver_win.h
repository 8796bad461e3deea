// Test support: shows a real message box on the test thread and drives it from a second
// thread (finding the box, reading its controls, posting clicks, keys and close requests).
// The driver always makes sure the box ends, so a test that fails cannot hang the run.
#pragma once

#include <windows.h>

#include <atomic>
#include <string>

#include "msgbox/message_dlg_win.h"
#include "tests/support/modal_driver_win.h"
#include "tests/support/window_finder_win.h"

// An open message box of `threadId`. Waits until it is visible (or, after the timeout, takes
// an invisible one).
inline HWND FindOpenMessageBox(DWORD threadId, DWORD timeoutMs = 5000) {
  WindowQuery boxes = MessageBoxesOf(threadId);
  if (HWND box = WaitForTopLevelWindow(boxes, timeoutMs)) return box;
  boxes.visibleOnly = false;
  return FindTopLevelWindow(boxes);
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
  std::atomic<DWORD> openMs{0};
  ModalDriver driver(threadId, [&] {
    HWND box = FindOpenMessageBox(threadId);
    if (!box) return true;  // the box never opened: show() has returned (or will) by itself
    const DWORD opened = ::GetTickCount();
    found = true;
    drive(box, threadId);
    const bool closed = WaitUntilClosed(box, closeTimeoutMs);
    openMs = ::GetTickCount() - opened;
    return closed;
  });
  BoxOutcome outcome;
  outcome.result = show();
  outcome.forced = !driver.Succeeded();
  outcome.found = found;
  outcome.openMs = openMs;
  return outcome;
}

// The common case: a box with no check box and no custom captions.
inline int ShowPlainBox(const std::string& text, UINT type, UINT options = 0, LPARAM value = 0,
                        HWND owner = nullptr) {
  return ShowMessageDlg(owner, text, "ZU Launcher", type, options, value, nullptr, nullptr);
}
