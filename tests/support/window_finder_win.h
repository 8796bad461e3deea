// Test support: finds the top-level windows the code under test opens (on a thread of this
// process, or in a process a test started), waits for them, reads their texts and presses
// their buttons. Meant for a thread other than the window's, which may sit in a modal loop or
// hang: it only posts, or sends with a time-out.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// Which top-level windows a search takes; a condition left at its default takes every window.
struct WindowQuery {
  const char* className = nullptr;  // exact class name
  const char* title = nullptr;      // exact window text
  bool (*accept)(HWND) = nullptr;   // a further test
  DWORD threadId = 0;               // windows of this thread
  DWORD processId = 0;              // windows of this process
  DWORD parentProcessId = 0;        // windows of the processes this process started
  bool visibleOnly = true;
};

// The launcher's message box (it carries the box's state property) and the installer download
// dialog, in any process.
bool IsMessageBox(HWND window);
bool IsDownloadDialog(HWND window);
WindowQuery MessageBoxesOf(DWORD threadId);
WindowQuery DownloadDialogOf(DWORD threadId);

std::vector<HWND> FindTopLevelWindows(const WindowQuery& query);
HWND FindTopLevelWindow(const WindowQuery& query);  // the first one, or null
HWND WaitForTopLevelWindow(const WindowQuery& query, DWORD timeoutMs = 10000);

// Polls `condition` every 5 ms until it holds (true) or `timeoutMs` have passed (false).
bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs = 10000);
bool WaitUntilClosed(HWND window, DWORD timeoutMs = 10000);

// WM_GETTEXT with a time-out: "<no answer>" from a window that does not answer in time.
std::string WindowText(HWND window);
std::string ItemText(HWND dialog, int itemId);
int ProgressPosition(HWND dialog, int barId);  // -1000 when it does not answer
// An item's rectangle in the dialog's client coordinates.
RECT ItemRect(HWND dialog, int itemId);
// The focused window of a thread, or null.
HWND FocusOfThread(DWORD threadId);

// A click on a dialog's button as the dialog manager reports it (also for ids with no button).
void PressButton(HWND dialog, int buttonId);
// A key press as a dialog's modal loop sees it.
void PostKey(HWND target, WPARAM key);
// Posts WM_ZMESSAGEBOX_CLOSE: the box answers as if its first button were clicked.
void CloseMessageBox(HWND box);
