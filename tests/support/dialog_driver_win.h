// Drives the windows of a test's user-interface thread from a second thread: finds the
// installer download dialog and a message box over it, reads their texts and the progress
// position, posts commands and answers boxes. The user-interface thread is inside a modal
// loop meanwhile, so the driver only posts, or sends with a time-out. Header-only.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <thread>

#include "res/resource.h"

namespace dialog_driver {

// Control ids inside the launcher's message box.
constexpr int kBoxFirstButton = 10;
constexpr int kBoxSecondButton = 20;
constexpr int kBoxText = 27;
constexpr DWORD kSendTimeoutMs = 5000;

struct FoundWindow {
  bool (*accept)(HWND);
  HWND window;
};

inline bool IsDialogWindow(HWND window) {
  char className[64] = {};
  ::GetClassNameA(window, className, sizeof className);
  return std::string(className) == "#32770" && ::IsWindowVisible(window);
}

inline bool IsProgressDialog(HWND window) {
  return IsDialogWindow(window) && ::GetDlgItem(window, IDC_DOWNLOAD_PROGRESS) != nullptr;
}

inline bool IsMessageBox(HWND window) {
  return IsDialogWindow(window) && ::GetPropA(window, "MessageDlg") != nullptr;
}

inline BOOL CALLBACK AcceptFirst(HWND window, LPARAM context) {
  auto* search = reinterpret_cast<FoundWindow*>(context);
  if (!search->accept(window)) return TRUE;
  search->window = window;
  return FALSE;
}

// The first visible top-level window of `threadId` that `accept` takes, or null.
inline HWND FindThreadWindow(DWORD threadId, bool (*accept)(HWND)) {
  FoundWindow found{accept, nullptr};
  ::EnumThreadWindows(threadId, &AcceptFirst, reinterpret_cast<LPARAM>(&found));
  return found.window;
}

inline BOOL CALLBACK CountBoxes(HWND window, LPARAM context) {
  if (IsMessageBox(window)) ++*reinterpret_cast<int*>(context);
  return TRUE;
}

// How many visible message boxes `threadId` has open.
inline int CountMessageBoxes(DWORD threadId) {
  int count = 0;
  ::EnumThreadWindows(threadId, &CountBoxes, reinterpret_cast<LPARAM>(&count));
  return count;
}

inline HWND FindProgressDialog(DWORD threadId) {
  return FindThreadWindow(threadId, &IsProgressDialog);
}
inline HWND FindMessageBox(DWORD threadId) {
  return FindThreadWindow(threadId, &IsMessageBox);
}

// Polls `condition` every 5 ms until it holds or `timeoutMs` have passed.
inline bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs = 10000) {
  const DWORD start = ::GetTickCount();
  for (;;) {
    if (condition()) return true;
    if (::GetTickCount() - start > timeoutMs) return false;
    ::Sleep(5);
  }
}

// Waits for a window of `threadId` that `find` finds; null after the time-out.
inline HWND WaitForWindow(DWORD threadId, HWND (*find)(DWORD), DWORD timeoutMs = 10000) {
  HWND window = nullptr;
  WaitFor([&] { return (window = find(threadId)) != nullptr; }, timeoutMs);
  return window;
}

// The text of a window of another thread (WM_GETTEXT with a time-out).
inline std::string WindowText(HWND window) {
  char text[1024] = {};
  DWORD_PTR length = 0;
  if (!::SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                             SMTO_ABORTIFHUNG, kSendTimeoutMs, &length)) {
    return "<no answer>";
  }
  return std::string(text, length);
}

inline std::string StatusText(HWND dialog) {
  return WindowText(::GetDlgItem(dialog, IDC_DOWNLOAD_STATUS));
}

inline std::string BoxText(HWND box) {
  return WindowText(::GetDlgItem(box, kBoxText));
}

inline int ProgressPosition(HWND dialog) {
  DWORD_PTR position = 0;
  if (!::SendMessageTimeoutA(::GetDlgItem(dialog, IDC_DOWNLOAD_PROGRESS), PBM_GETPOS, 0, 0,
                             SMTO_ABORTIFHUNG, kSendTimeoutMs, &position)) {
    return -1000;
  }
  return static_cast<int>(position);
}

// A click on the dialog's Cancel button, as the dialog manager reports it.
inline void ClickCancel(HWND dialog) {
  ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                 reinterpret_cast<LPARAM>(::GetDlgItem(dialog, IDCANCEL)));
}

// A click on one of the box's push buttons.
inline void ClickBoxButton(HWND box, int buttonId) {
  ::PostMessageA(box, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED),
                 reinterpret_cast<LPARAM>(::GetDlgItem(box, buttonId)));
}

// Runs a script on a thread of its own while the test thread sits in a modal loop. If the
// script gives up (returns false), the driver ends whatever is still open so the test
// thread never hangs: boxes are answered with their first button, then the dialog is
// cancelled, until no window of the thread is left.
class Driver {
 public:
  Driver(DWORD uiThreadId, std::function<bool()> script, UINT closeBoxMessage)
      : m_uiThreadId(uiThreadId), m_closeBoxMessage(closeBoxMessage) {
    m_thread = std::thread([this, script] {
      bool succeeded = false;
      try {
        succeeded = script();
      } catch (...) {
        succeeded = false;
      }
      m_succeeded = succeeded;
      if (!succeeded) Rescue();
    });
  }
  ~Driver() { Join(); }
  Driver(const Driver&) = delete;
  Driver& operator=(const Driver&) = delete;

  void Join() {
    if (m_thread.joinable()) m_thread.join();
  }
  // True when the script ran to its end with every step as expected.
  bool Succeeded() {
    Join();
    return m_succeeded;
  }

 private:
  void Rescue() {
    const DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < 30000) {
      HWND box = FindMessageBox(m_uiThreadId);
      HWND dialog = FindProgressDialog(m_uiThreadId);
      if (!box && !dialog) return;
      if (box) ::PostMessageA(box, m_closeBoxMessage, 0, 0);
      if (dialog && !box) ClickCancel(dialog);
      ::Sleep(200);
    }
  }

  DWORD m_uiThreadId;
  UINT m_closeBoxMessage;
  std::atomic<bool> m_succeeded{false};
  std::thread m_thread;
};

}  // namespace dialog_driver
