#include "installer/install_wait_dlg_win.h"

#include "res/load_text.h"
#include "res/resource.h"

namespace {

constexpr UINT_PTR kPollTimerId = 1;
// How often the lock is tried: the waiting launcher starts within this of the other's end.
constexpr UINT kPollIntervalMs = 200;

}  // namespace

bool TryTakeInstallLock(HANDLE lock) {
  // WAIT_ABANDONED: the launcher that held it ended without letting go; it is ours now.
  const DWORD result = ::WaitForSingleObject(lock, 0);
  return result == WAIT_OBJECT_0 || result == WAIT_ABANDONED;
}

CInstallWaitDlg::CInstallWaitDlg(HANDLE lock) : m_lock(lock) {
  m_messageMap.OnMessage(WM_INITDIALOG, &CInstallWaitDlg::OnInitDialog)
      .OnCommand(IDCANCEL, 0, &CInstallWaitDlg::OnCancel)
      .OnMessage(WM_TIMER, &CInstallWaitDlg::OnTimer);
}

bool CInstallWaitDlg::ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam,
                                           LRESULT& result) {
  return m_messageMap.Dispatch(*this, message, wParam, lParam, result);
}

LRESULT CInstallWaitDlg::OnInitDialog(WPARAM, LPARAM) {
  CenterWindow();
  ::SetWindowTextA(GetItem(IDC_DOWNLOAD_STATUS), LoadText(TextId::InstallLockWaiting));
  // A timer rather than a waiting thread: the mutex belongs to the thread that takes it, and
  // this thread must hold it through the installation.
  ::SetTimer(Window(), kPollTimerId, kPollIntervalMs, nullptr);
  return 0;
}

LRESULT CInstallWaitDlg::OnTimer(WPARAM timerId, LPARAM) {
  if (timerId != kPollTimerId || !TryTakeInstallLock(m_lock)) return 0;
  ::KillTimer(Window(), kPollTimerId);
  m_taken = true;
  EndDialog(kEndTaken);
  return 0;
}

LRESULT CInstallWaitDlg::OnCancel(WPARAM, LPARAM) {
  if (m_taken) return 0;
  ::KillTimer(Window(), kPollTimerId);
  EndDialog(kEndCancelled);
  return 0;
}
