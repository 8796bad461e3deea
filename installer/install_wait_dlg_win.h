// The dialog a launcher shows while another launcher installs the same program: the download
// dialog's window (resource 129) with a status saying that the program is being installed
// and Cancel. It ends once the install lock is this launcher's, or when the user cancels.
// User-interface thread only: the lock is a mutex, owned by the thread that takes it.
#pragma once

#include <windows.h>

#include "common/dialog_win.h"

class CInstallWaitDlg : public ModalDialog {
 public:
  static constexpr INT_PTR kEndTaken = 1;
  static constexpr INT_PTR kEndCancelled = 2;

  // `lock`: the install lock's mutex, held by another launcher; not owned.
  explicit CInstallWaitDlg(HANDLE lock);

 protected:
  bool ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  LRESULT OnInitDialog(WPARAM wParam, LPARAM lParam);
  LRESULT OnCancel(WPARAM wParam, LPARAM lParam);
  LRESULT OnTimer(WPARAM wParam, LPARAM lParam);

  const HANDLE m_lock;
  bool m_taken = false;  // a Cancel queued behind the timer that took the lock changes nothing
  MessageMap<CInstallWaitDlg> m_messageMap;
};

// Takes `lock` at once when it is free (also when its last owner ended without letting go).
bool TryTakeInstallLock(HANDLE lock);
