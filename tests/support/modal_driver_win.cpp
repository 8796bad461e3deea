#include "tests/support/modal_driver_win.h"

#include "tests/support/window_finder_win.h"

ModalDriver::ModalDriver(DWORD uiThreadId, std::function<bool()> script)
    : m_uiThreadId(uiThreadId) {
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

void ModalDriver::Rescue() const {
  // Hidden ones too: a box that never became visible still holds the test thread.
  WindowQuery boxes = MessageBoxesOf(m_uiThreadId);
  WindowQuery dialogs = DownloadDialogOf(m_uiThreadId);
  boxes.visibleOnly = dialogs.visibleOnly = false;
  const DWORD start = ::GetTickCount();
  while (::GetTickCount() - start < 30000) {
    HWND box = FindTopLevelWindow(boxes);
    HWND dialog = FindTopLevelWindow(dialogs);
    if (!box && !dialog) return;
    if (box) CloseMessageBox(box);
    if (dialog && !box) PressButton(dialog, IDCANCEL);
    ::Sleep(box ? 20 : 200);
  }
}
