#include "tests/support/window_finder_win.h"

#include <commctrl.h>
#include <tlhelp32.h>

#include <cstring>
#include <set>

#include "common/unique_handle_win.h"
#include "msgbox/message_dlg_state_win.h"
#include "msgbox/message_dlg_win.h"
#include "res/resource.h"

namespace {

constexpr DWORD kSendTimeoutMs = 5000;

// The processes whose parent is `parentProcessId`, from one snapshot.
std::set<DWORD> ChildProcesses(DWORD parentProcessId) {
  std::set<DWORD> children;
  UniqueFileHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot) return children;
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = ::Process32First(snapshot.get(), &entry); more;
       more = ::Process32Next(snapshot.get(), &entry)) {
    if (entry.th32ParentProcessID == parentProcessId) children.insert(entry.th32ProcessID);
  }
  return children;
}

bool HasClass(HWND window, const char* className) {
  char name[256] = {};
  ::GetClassNameA(window, name, sizeof name);
  return std::strcmp(name, className) == 0;
}

struct Search {
  const WindowQuery* query;
  std::set<DWORD> children;
  std::vector<HWND> found;
};

BOOL CALLBACK Collect(HWND window, LPARAM context) {
  Search& search = *reinterpret_cast<Search*>(context);
  const WindowQuery& query = *search.query;
  DWORD processId = 0;
  const DWORD threadId = ::GetWindowThreadProcessId(window, &processId);
  if ((query.visibleOnly && !::IsWindowVisible(window)) ||
      (query.threadId && threadId != query.threadId) ||
      (query.processId && processId != query.processId) ||
      (query.parentProcessId && !search.children.count(processId)) ||
      (query.className && !HasClass(window, query.className)) ||
      (query.title && WindowText(window) != query.title) || (query.accept && !query.accept(window)))
    return TRUE;
  search.found.push_back(window);
  return TRUE;
}

}  // namespace

bool IsMessageBox(HWND window) {
  return HasClass(window, "#32770") && ::GetPropA(window, kMessageDlgProperty) != nullptr;
}

bool IsDownloadDialog(HWND window) {
  return HasClass(window, "#32770") && ::GetDlgItem(window, IDC_DOWNLOAD_PROGRESS) != nullptr;
}

WindowQuery MessageBoxesOf(DWORD threadId) {
  WindowQuery query;
  query.accept = &IsMessageBox;
  query.threadId = threadId;
  return query;
}

WindowQuery DownloadDialogOf(DWORD threadId) {
  WindowQuery query;
  query.accept = &IsDownloadDialog;
  query.threadId = threadId;
  return query;
}

std::vector<HWND> FindTopLevelWindows(const WindowQuery& query) {
  Search search{&query, {}, {}};
  if (query.parentProcessId) search.children = ChildProcesses(query.parentProcessId);
  if (query.threadId) {
    ::EnumThreadWindows(query.threadId, &Collect, reinterpret_cast<LPARAM>(&search));
  } else {
    ::EnumWindows(&Collect, reinterpret_cast<LPARAM>(&search));
  }
  return search.found;
}

HWND FindTopLevelWindow(const WindowQuery& query) {
  const std::vector<HWND> windows = FindTopLevelWindows(query);
  return windows.empty() ? nullptr : windows.front();
}

HWND WaitForTopLevelWindow(const WindowQuery& query, DWORD timeoutMs) {
  HWND window = nullptr;
  WaitFor([&] { return (window = FindTopLevelWindow(query)) != nullptr; }, timeoutMs);
  return window;
}

bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs) {
  const DWORD start = ::GetTickCount();
  for (;;) {
    if (condition()) return true;
    if (::GetTickCount() - start > timeoutMs) return false;
    ::Sleep(5);
  }
}

bool WaitUntilClosed(HWND window, DWORD timeoutMs) {
  return WaitFor([window] { return !::IsWindow(window); }, timeoutMs);
}

std::string WindowText(HWND window) {
  char text[4096] = {};
  DWORD_PTR length = 0;
  if (!::SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                             SMTO_ABORTIFHUNG, kSendTimeoutMs, &length)) {
    return "<no answer>";
  }
  return std::string(text, length);
}

std::string ItemText(HWND dialog, int itemId) {
  return WindowText(::GetDlgItem(dialog, itemId));
}

int ProgressPosition(HWND dialog, int barId) {
  DWORD_PTR position = 0;
  if (!::SendMessageTimeoutA(::GetDlgItem(dialog, barId), PBM_GETPOS, 0, 0, SMTO_ABORTIFHUNG,
                             kSendTimeoutMs, &position)) {
    return -1000;
  }
  return static_cast<int>(position);
}

RECT ItemRect(HWND dialog, int itemId) {
  RECT rect{};
  ::GetWindowRect(::GetDlgItem(dialog, itemId), &rect);
  ::MapWindowPoints(HWND_DESKTOP, dialog, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

HWND FocusOfThread(DWORD threadId) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  return ::GetGUIThreadInfo(threadId, &info) ? info.hwndFocus : nullptr;
}

void PressButton(HWND dialog, int buttonId) {
  ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED),
                 reinterpret_cast<LPARAM>(::GetDlgItem(dialog, buttonId)));
}

void PostKey(HWND target, WPARAM key) {
  ::PostMessageA(target, WM_KEYDOWN, key, 0x00000001);
  ::PostMessageA(target, WM_KEYUP, key, 0xC0000001);
}

void CloseMessageBox(HWND box) {
  ::PostMessageA(box, WM_ZMESSAGEBOX_CLOSE, 0, 0);
}
