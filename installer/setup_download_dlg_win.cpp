#include "installer/setup_download_dlg_win.h"

#include <commctrl.h>

#include <cstdarg>
#include <future>
#include <system_error>
#include <utility>

#include "env/directories_win.h"
#include "env/log.h"
#include "installer/installer_check_win.h"
#include "installer/progress_display.h"
#include "installer/repaint_wait_win.h"
#include "msgbox/message_dlg_win.h"
#include "res/load_text.h"
#include "res/resource.h"
#include "res/text_language.h"
#include "transfer/http_get_file_win.h"
#include "transfer/transfer_win.h"

namespace {

constexpr UINT_PTR kStartTimerId = 1;
constexpr UINT kStartDelayMs = 100;
// How long Cancel waits for the abandoned transfer to let go of its file: the dialog closes
// within a second whatever the server does.
constexpr DWORD kCancelWaitMs = 500;

std::vector<std::string> AddressesOf(const InstallerRequest& installer) {
  std::vector<std::string> addresses = {installer.downloadUrl};
  addresses.insert(addresses.end(), installer.mirrorUrls.begin(), installer.mirrorUrls.end());
  return addresses;
}

}  // namespace

CSetupDownloadDlg::CSetupDownloadDlg(const InstallerRequest& installer,
                                     std::optional<std::string> installerSigner,
                                     const InstallerProcessApi& processApi)
    : m_programName(installer.programName),
      m_downUrls(AddressesOf(installer)),
      m_kind(installer.kind),
      m_setupArgs(installer.setupArgs),
      m_agentName(installer.agentName),
      m_downSize(installer.downSize),
      m_downSha256(installer.downSha256),
      m_installerSigner(std::move(installerSigner)),
      m_processApi(processApi),
      m_busyPausesMs(installer.busyPausesMs) {
  // Matched in this order; everything else gets the default dialog processing.
  m_messageMap.OnMessage(WM_INITDIALOG, &CSetupDownloadDlg::OnInitDialog)
      .OnCommand(IDCANCEL, 0, &CSetupDownloadDlg::OnCancel)
      .OnMessage(WM_TIMER, &CSetupDownloadDlg::OnTimer)
      .OnMessage(WM_HTTPGETFILE_START, &CSetupDownloadDlg::OnHttpStart)
      .OnMessage(WM_HTTPGETFILE_PROGRESS, &CSetupDownloadDlg::OnHttpProgress)
      .OnMessage(WM_HTTPGETFILE_COMPLETE, &CSetupDownloadDlg::OnHttpComplete);
}

bool CSetupDownloadDlg::ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam,
                                             LRESULT& result) {
  return m_messageMap.Dispatch(*this, message, wParam, lParam, result);
}

LRESULT CSetupDownloadDlg::OnInitDialog(WPARAM, LPARAM) {
  // Dialog 129 is written in Russian; a language chosen by LANGUAGE names it and its button.
  if (const std::string* title = TextInUse(TextId::DownloadDialogTitle))
    ::SetWindowTextA(Window(), title->c_str());
  if (const std::string* cancel = TextInUse(TextId::DownloadDialogCancel))
    ::SetWindowTextA(GetItem(IDCANCEL), cancel->c_str());
  CenterWindow();
  // The transfer starts from the timer, once the dialog is already on screen.
  ::SetTimer(Window(), kStartTimerId, kStartDelayMs, nullptr);
  return 0;  // we leave the keyboard focus alone
}

LRESULT CSetupDownloadDlg::OnTimer(WPARAM timerId, LPARAM) {
  if (timerId != kStartTimerId) return 0;
  ::KillTimer(Window(), kStartTimerId);  // one shot
  StartDownload();
  return 0;
}

void CSetupDownloadDlg::StartDownload() {
  SetStatusText("%s", LoadText(TextId::TransferStarting));

  // A folder of its own for every download: no other process, and no other launcher installing
  // at the same time, can have put anything at that name or write into the file.
  m_download = PrivateDownload::Create(GetTempDir(), InstallerFileName(m_kind));
  if (!m_download) {
    EndDialog(kEndFailed);
    return;
  }
  m_setupPath = m_download->Path();
  TransferRequest request;
  request.url = m_downUrls[m_addressIndex];
  request.agent = m_agentName;
  request.policy.sizeLimit = InstallerSizeLimit(Expectation());
  if (!StartTransferInto(request, m_download, Window(), m_transferId)) {
    DiscardDownload();
    if (!TryNextAddress()) EndDialog(kEndFailed);
    return;
  }
  m_transferSetUp = true;

  HWND progress = GetItem(IDC_DOWNLOAD_PROGRESS);
  ::SendMessageA(progress, PBM_SETRANGE, 0, MAKELPARAM(0, 100));
  ::SendMessageA(progress, PBM_SETPOS, 0, 0);
  SetStatusText("%s", LoadText(TextId::DownloadBegins));
}

LRESULT CSetupDownloadDlg::OnHttpStart(WPARAM transferId, LPARAM contentLength) {
  // Posted by anyone but our transfer, or after its end: not ours to act on.
  if (!IsOurTransfer(transferId) || m_transferEnded) return 0;
  m_totalBytes =
      ProgressTotal(static_cast<int>(contentLength), InstallerExpectedSize(Expectation()));
  m_transferActive = true;
  return 0;
}

LRESULT CSetupDownloadDlg::OnHttpProgress(WPARAM transferId, LPARAM bytesSoFar) {
  if (!IsOurTransfer(transferId) || m_transferEnded) return 0;
  HttpGetFileProgressTaken(static_cast<int>(transferId));  // the transfer may post the next
  const int bytes = static_cast<int>(bytesSoFar);
  const int percent = ProgressPercent(bytes, m_totalBytes);
  if (!ShouldRefreshProgress(m_lastTick, m_lastPercent, ::GetTickCount(), percent)) return 0;

  // The control clamps a position outside 0-100: -1 (no length) stays empty, more than
  // the 1 MiB assumed for an unknown length stays full.
  ::SendMessageA(GetItem(IDC_DOWNLOAD_PROGRESS), PBM_SETPOS, static_cast<WPARAM>(percent), 0);
  SetStatusText(LoadText(TextId::DownloadedBytes), FormatByteCount(bytes).c_str());
  m_lastTick = ::GetTickCount();
  m_lastPercent = percent;
  return 0;
}

LRESULT CSetupDownloadDlg::OnCancel(WPARAM, LPARAM) {
  // The installer is being checked or runs: nothing interrupts it. A click waits in the queue
  // until the dialog has ended; a cancel sent by another process, which the waits' peeking
  // delivers at once, is refused here.
  if (m_installing) return 0;
  if (m_confirmOpen) return 0;  // already asking: one question at a time
  if (m_transferActive) {
    m_confirmOpen = true;
    const int answer = AskUser(LoadText(TextId::ConfirmCancel), MB_YESNO);
    m_confirmOpen = false;
    if (answer != IDYES) {
      // The download goes on; a completion that came meanwhile is handled now.
      ReleaseHeldCompletion();
      return 0;
    }
  }
  m_transferActive = false;
  ::EnableWindow(GetItem(IDCANCEL), FALSE);
  // The transfer is not waited for in its reads: it is abandoned, and whichever of it and this
  // dialog lets go of the private download last removes the partial file and its folder.
  if (m_transferSetUp) HttpGetFileAbandon(m_transferId, kCancelWaitMs);
  DiscardDownload();
  m_cancelled = true;
  EndDialog(kEndFailed);
  ReleaseHeldCompletion();  // with no transfer active it only confirms the end
  return 0;
}

LRESULT CSetupDownloadDlg::OnHttpComplete(WPARAM transferId, LPARAM succeeded) {
  if (!IsOurTransfer(transferId) || m_transferEnded) return 0;
  m_transferEnded = true;
  if (m_confirmOpen) {
    // The confirmation's own modal loop dispatched this message, so we cannot wait here for
    // the answer: keep the outcome and act on it when OnCancel has the answer.
    m_completionHeld = true;
    m_heldCompletion = succeeded;
    return 0;
  }
  FinishTransfer(succeeded);
  return 0;
}

void CSetupDownloadDlg::ReleaseHeldCompletion() {
  if (!m_completionHeld) return;
  m_completionHeld = false;
  FinishTransfer(m_heldCompletion);
}

bool CSetupDownloadDlg::TryNextAddress() {
  if (m_cancelled || m_addressIndex + 1 >= m_downUrls.size()) return false;
  LogLine("installer not reached at %s", m_downUrls[m_addressIndex].c_str());
  DiscardDownload();
  ++m_addressIndex;
  m_transferActive = false;
  // The next transfer's messages are the ones that count from now on.
  m_transferSetUp = false;
  m_transferEnded = false;
  m_transferId = 0;
  m_totalBytes = 0;
  StartDownload();
  return true;
}

void CSetupDownloadDlg::FinishTransfer(LPARAM succeeded) {
  if (!m_transferActive) {
    // Cancelled by the user, or failed before the start message: the end code and Cancelled()
    // tell the caller which. Not cancelled, the next address may serve.
    if (TryNextAddress()) return;
    DiscardDownload();
    EndDialog(kEndFailed);
    return;
  }
  if (!succeeded) {
    // A body longer than DOWN_SIZE arrived and failed its check: no other address is tried.
    if (m_download && m_download->sizeLimitExceeded.load()) {
      LogLine("%s", InstallerSizeExceeded(Expectation(), m_download->bytesOffered.load()).c_str());
    } else if (TryNextAddress()) {
      return;
    }
    FailTransfer();
    return;
  }
  if (m_downUrls.size() > 1) LogLine("installer served by %s", m_downUrls[m_addressIndex].c_str());
  SetStatusText("%s", LoadText(TextId::TransferDone));
  m_transferActive = false;
  m_installing = true;
  // A file that is not the published installer is treated like a failed transfer.
  std::string failure;
  if (!CheckInstallerRepainting(failure)) {
    LogLine("%s", failure.c_str());
    FailTransfer();
    return;
  }
  RunSetup();
}

bool CSetupDownloadDlg::CheckInstallerRepainting(std::string& failure) {
  // Hashing a large installer takes a while: it runs beside the dialog, which keeps painting.
  // The dialog's thread only waits meanwhile, and the worker has let go of its handle, so the
  // check is the only one reading through the held one.
  const std::string path = m_setupPath;
  const InstallerExpectation expectation = Expectation();
  HANDLE file = m_download->File();
  auto check = [&] { return CheckInstallerFile(file, path, expectation, failure); };
  std::future<bool> checked;
  bool started = true;
  try {
    checked = std::async(std::launch::async, check);
  } catch (const std::system_error&) {
    started = false;  // no thread to be had: check here, without painting
  }
  if (!(started ? WaitRepainting(checked) : check())) return false;
  unsigned long error = 0;
  if (!m_download->HoldForRun(error)) {
    failure = error == ERROR_SHARING_VIOLATION
                  ? std::string("installer check failed: the file is open for writing elsewhere")
                  : Format(
                        "installer check failed: the file cannot be held read-only for the "
                        "run (error %lu)",
                        error);
    return false;
  }
  return true;
}

void CSetupDownloadDlg::FailTransfer() {
  DiscardDownload();
  SetStatusText("%s", LoadText(TextId::TransferError));
  AskUser(LoadText(TextId::TransferErrorBox), MB_OK);
  EndDialog(kEndFailed);
}

void CSetupDownloadDlg::DiscardDownload() {
  m_download.reset();
}

void CSetupDownloadDlg::SetStatusText(const char* format, ...) {
  va_list args;
  va_start(args, format);
  const std::string text = FormatV(format, args);
  va_end(args);
  ::SetWindowTextA(GetItem(IDC_DOWNLOAD_STATUS), text.c_str());
}

int CSetupDownloadDlg::AskUser(const std::string& text, UINT type) {
  // Copied first: LoadText hands out one shared buffer.
  const std::string caption = LoadText(TextId::LauncherCaption);
  return ShowMessageDlg(Window(), text, caption, type, 0, 0, nullptr, nullptr);
}
