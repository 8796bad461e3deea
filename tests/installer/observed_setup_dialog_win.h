// The installer download dialog with a window on its message traffic, for tests that drive
// it from another thread. It counts the engine's messages and can: keep the transfer from
// starting (so a test posts the engine's messages itself), cancel at once, and keep a
// completion that arrives before the cancel confirmation is open until the test delivers it
// while the confirmation is open.
#pragma once

#include <windows.h>

#include <atomic>
#include <optional>

#include "installer/setup_download_dlg_win.h"
#include "transfer/http_get_file_win.h"

class ObservedSetupDownloadDlg : public CSetupDownloadDlg {
 public:
  // No signer pin; the installer is started through `processApi`.
  explicit ObservedSetupDownloadDlg(
      const InstallerRequest& installer,
      const InstallerProcessApi& processApi = PlatformInstallerProcessApi())
      : CSetupDownloadDlg(installer, std::nullopt, processApi) {}

  // Set before DoModal.
  bool m_swallowStartTimer = false;
  bool m_cancelAtOnce = false;
  bool m_holdEarlyCompletion = false;

  std::atomic<HWND> m_window{nullptr};
  std::atomic<int> m_starts{0};
  std::atomic<int> m_progresses{0};
  std::atomic<int> m_completions{0};
  std::atomic<int> m_completionsWhileConfirmationOpen{0};
  std::atomic<bool> m_completionKept{false};
  std::atomic<LPARAM> m_keptCompletion{0};
  std::atomic<WPARAM> m_keptTransferId{0};
  // The completion has reached the dialog: the check and the installer's run follow inside
  // its handling.
  std::atomic<bool> m_completionArrived{false};

  // Posts the kept completion to the dialog; call once the confirmation is open.
  bool DeliverKeptCompletion() {
    if (!m_completionKept.exchange(false)) return false;
    return ::PostMessageA(m_window, WM_HTTPGETFILE_COMPLETE, m_keptTransferId, m_keptCompletion) !=
           FALSE;
  }

 protected:
  bool ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    if (message == WM_TIMER && m_swallowStartTimer) {
      ::KillTimer(Window(), wParam);
      result = 0;
      return true;
    }
    if (message == WM_HTTPGETFILE_COMPLETE && m_holdEarlyCompletion && !ConfirmOpen()) {
      m_holdEarlyCompletion = false;
      m_keptCompletion = lParam;
      m_keptTransferId = wParam;
      m_completionKept = true;
      result = 0;
      return true;
    }
    if (message == WM_HTTPGETFILE_COMPLETE) m_completionArrived = true;
    const bool confirmationOpen = ConfirmOpen();
    const bool handled = CSetupDownloadDlg::ProcessWindowMessage(message, wParam, lParam, result);
    if (message == WM_INITDIALOG) {
      // Without the timer no transfer starts: the test posts the engine's messages as 1.
      if (m_swallowStartTimer) AdoptTransfer(1);
      m_window = Window();
      if (m_cancelAtOnce) {
        ::PostMessageA(Window(), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
      }
    } else if (message == WM_HTTPGETFILE_START) {
      ++m_starts;
    } else if (message == WM_HTTPGETFILE_PROGRESS) {
      ++m_progresses;
    } else if (message == WM_HTTPGETFILE_COMPLETE) {
      ++m_completions;
      if (confirmationOpen) ++m_completionsWhileConfirmationOpen;
    }
    return handled;
  }
};
