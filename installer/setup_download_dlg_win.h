// The installer download dialog (resource 129): it downloads the installer through the
// download engine on a worker thread into a private folder of its own, shows the progress,
// lets the user cancel after a confirmation, checks the file against the version file's size
// and SHA-256 and the launcher INI's signer pin, and then runs the installer and waits for
// it. The launcher's system builds it from the installer request, shows it modally and reads
// its end code and whether the user cancelled. User-interface thread only; the engine's
// messages reach it through the modal loop (and through the loop of a box opened over it).
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/dialog_win.h"
#include "common/format.h"
#include "common/unique_handle_win.h"
#include "installer/installer_check.h"
#include "installer/installer_kind.h"
#include "installer/installer_process_win.h"
#include "installer/installer_request.h"
#include "installer/private_download_win.h"

// The file name of a downloaded program installer, in its private folder in the temporary
// directory (a package's is InstallerFileName(InstallerKind::Package)).
inline const char* const kSetupFileName = InstallerFileName(InstallerKind::Program);

class CSetupDownloadDlg : public ModalDialog {
 public:
  // End codes: the installer was downloaded, started and has ended; anything else.
  static constexpr INT_PTR kEndInstalled = 1;
  static constexpr INT_PTR kEndFailed = 2;

  // `installerSigner`: INSTALLER_SIGNER of the launcher INI as written, or nothing: who must
  // have signed the installer. `processApi` starts it.
  CSetupDownloadDlg(const InstallerRequest& installer, std::optional<std::string> installerSigner,
                    const InstallerProcessApi& processApi = PlatformInstallerProcessApi());

  // True once the user has cancelled; read after the dialog has closed.
  bool Cancelled() const { return m_cancelled; }
  // Where the installer is downloaded to (in its private folder); empty before the transfer.
  const std::string& SetupPath() const { return m_setupPath; }
  // The size that 100 % of the progress bar stands for.
  int TotalBytes() const { return m_totalBytes; }

 protected:
  bool ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  // True while the cancel confirmation is shown: its modal loop dispatches our messages too.
  bool ConfirmOpen() const { return m_confirmOpen; }
  // For a dialog whose engine messages are posted by its driver instead of a transfer (a
  // test's): messages with `transferId` count as this dialog's transfer's.
  void AdoptTransfer(int transferId) {
    m_transferId = transferId;
    m_transferSetUp = true;
  }

 private:
  LRESULT OnInitDialog(WPARAM wParam, LPARAM lParam);
  LRESULT OnCancel(WPARAM wParam, LPARAM lParam);
  LRESULT OnTimer(WPARAM wParam, LPARAM lParam);
  LRESULT OnHttpStart(WPARAM wParam, LPARAM lParam);
  LRESULT OnHttpProgress(WPARAM wParam, LPARAM lParam);
  LRESULT OnHttpComplete(WPARAM wParam, LPARAM lParam);

  void StartDownload();
  // After a transfer that reached nothing: starts the next address, if there is one.
  bool TryNextAddress();
  // Whether a transfer message's wParam names the transfer this dialog started.
  bool IsOurTransfer(WPARAM transferId) const {
    return m_transferSetUp && transferId == static_cast<WPARAM>(m_transferId);
  }
  // Acts on the end of the transfer: `succeeded` is the completion message's lParam.
  void FinishTransfer(LPARAM succeeded);
  // Acts on a completion that came while the confirmation was open, now that it is closed.
  void ReleaseHeldCompletion();
  // Runs the checked installer, waits for it and ends the dialog (run_setup_win.cpp).
  void RunSetup();
  // Size, SHA-256 and signature of the downloaded file against DOWN_SIZE, DOWN_SHA256 and
  // INSTALLER_SIGNER, checked on a worker while the dialog keeps painting; on success the
  // download holds the file for the run.
  bool CheckInstallerRepainting(std::string& failure);
  // Shows the transfer error (status and box) and ends the dialog with kEndFailed.
  void FailTransfer();
  // Lets go of the download: the file and its folder go once the worker has let go too.
  void DiscardDownload();
  InstallerExpectation Expectation() const { return {m_downSize, m_downSha256, m_installerSigner}; }
  void SetStatusText(const char* format, ...) ZU_PRINTF_FORMAT(2, 3);
  // A notice or question over this dialog, captioned with the application title.
  int AskUser(const std::string& text, UINT type);

  const std::string m_programName;  // NAME of the program, for the installing status
  const std::vector<std::string> m_downUrls;  // DOWN_URL, then its mirrors
  size_t m_addressIndex = 0;                  // the address being tried
  const InstallerKind m_kind;       // a program or a package: the file's name, the command line
  const std::string m_setupArgs;    // "/S", "/A" or empty; for a package "/qn", "/passive", empty
  const std::string m_agentName;    // user agent of the transfer
  const std::string m_downSize;     // DOWN_SIZE as written, or empty: the installer's byte count
  const std::string m_downSha256;   // DOWN_SHA256 as written, or empty: the installer's digest
  const std::optional<std::string> m_installerSigner;  // INSTALLER_SIGNER as written, or nothing
  const InstallerProcessApi m_processApi;
  const std::vector<uint32_t> m_busyPausesMs;  // msiexec's 1618 is waited out this long

  bool m_cancelled = false;
  std::string m_setupPath;
  bool m_transferActive = false;  // from the start message to the end of the transfer
  bool m_confirmOpen = false;
  int m_totalBytes = 0;
  uint32_t m_lastTick = 0;  // tick count of the last progress display
  int m_lastPercent = 0;    // percentage of the last progress display
  int m_transferId = 0;     // the engine's id of the running transfer, once it is set up
  bool m_transferSetUp = false;
  // The first completion of our transfer has come: any later one is not the engine's.
  bool m_transferEnded = false;
  // From the end of the transfer to the installer's exit: the file is checked and run, and
  // a cancel (clicked, or sent by another process while the waits dispatch sent messages)
  // is refused, so nothing discards the file under the check or the run.
  bool m_installing = false;

  MessageMap<CSetupDownloadDlg> m_messageMap;
  bool m_completionHeld = false;
  LPARAM m_heldCompletion = 0;
  // Shared with the transfer's worker (see transfer/http_file_target_win.h); it holds the
  // file with writers shut out from its creation until the installer has ended.
  std::shared_ptr<PrivateDownload> m_download;
};
