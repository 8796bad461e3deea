// The installer download dialog (resource 129): it downloads the installer through the
// download engine on a worker thread into a private folder of its own, shows the progress,
// lets the user cancel after a confirmation, checks the file against the version file's size
// and SHA-256 and the launcher INI's signer pin, and then runs the installer and waits for
// it. InstallProgram shows it modally and reads its end code and m_cancelled. User-interface
// thread only; the engine's messages reach it through the modal loop (and through the loop of
// a box opened over it).
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "common/dialog_win.h"
#include "common/format.h"
#include "common/unique_handle_win.h"
#include "installer/installer_check.h"
#include "installer/private_download_win.h"

// The file name of the downloaded installer, in its private folder in the temporary directory.
constexpr char kSetupFileName[] = "ZuLauncherTempSetup.exe";

class CSetupDownloadDlg : public ModalDialog {
 public:
  // End codes: the installer was downloaded, started and has ended; anything else.
  static constexpr INT_PTR kEndInstalled = 1;
  static constexpr INT_PTR kEndFailed = 2;

  CSetupDownloadDlg();

  // The dialog's thousands-grouped byte count ("1,234,567").
  static std::string FormatByteCount(int bytes);

  // Set by InstallProgram before the dialog is shown.
  std::string m_programName;  // NAME of the program, for the installing status
  std::string m_downUrl;      // DOWN_URL, the installer's URL
  std::string m_setupArgs;    // "/S", "/A" or empty
  std::string m_agentName;    // user agent of the transfer
  std::string m_downSize;     // DOWN_SIZE as written, or empty: the installer's byte count
  std::string m_downSha256;   // DOWN_SHA256 as written, or empty: the installer's digest
  // INSTALLER_SIGNER of the launcher INI as written, or nothing: who must have signed it.
  std::optional<std::string> m_installerSigner;

  int m_cancelled = 0;       // 1 once the user has cancelled: read after the dialog closed
  std::string m_setupPath;   // where the installer is downloaded to (in its private folder)
  int m_transferActive = 0;  // 1 from the start message to the end of the transfer
  int m_confirmOpen = 0;     // 1 while the cancel confirmation is shown
  int m_totalBytes = 0;      // the size that 100 % stands for
  uint32_t m_lastTick = 0;   // tick count of the last progress display
  int m_lastPercent = 0;     // percentage of the last progress display
  int m_transferId = 0;      // the engine's id of the running transfer, 0 before it starts

 protected:
  bool ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  LRESULT OnInitDialog(WPARAM wParam, LPARAM lParam);
  LRESULT OnCancel(WPARAM wParam, LPARAM lParam);
  LRESULT OnTimer(WPARAM wParam, LPARAM lParam);
  LRESULT OnHttpStart(WPARAM wParam, LPARAM lParam);
  LRESULT OnHttpProgress(WPARAM wParam, LPARAM lParam);
  LRESULT OnHttpComplete(WPARAM wParam, LPARAM lParam);

  void StartDownload();
  // Acts on the end of the transfer: `succeeded` is the completion message's lParam.
  void FinishTransfer(LPARAM succeeded);
  // Acts on a completion that came while the confirmation was open, now that it is closed.
  void ReleaseHeldCompletion();
  // Runs the checked installer, waits for it and ends the dialog (run_setup_win.cpp).
  void RunSetup();
  // Size, SHA-256 and signature of the downloaded file against DOWN_SIZE, DOWN_SHA256 and
  // INSTALLER_SIGNER, checked on a worker while the dialog keeps painting; on success
  // m_checkedInstaller holds the file.
  bool CheckInstallerRepainting(std::string& failure);
  // Shows the transfer error (status and box) and ends the dialog with kEndFailed.
  void FailTransfer();
  // Lets go of the download: the file and its folder go once the worker has let go too.
  void DiscardDownload();
  InstallerExpectation Expectation() const { return {m_downSize, m_downSha256, m_installerSigner}; }
  void SetStatusText(const char* format, ...) ZU_PRINTF_FORMAT(2, 3);
  // A notice or question over this dialog, captioned with the application title.
  int AskUser(const std::string& text, UINT type);

  MessageMap<CSetupDownloadDlg> m_messageMap;
  bool m_completionHeld = false;
  LPARAM m_heldCompletion = 0;
  // Shared with the transfer's worker; see transfer/http_file_target_win.h.
  std::shared_ptr<PrivateDownload> m_download;
  // The checked installer, held open with writers shut out until the installer has ended.
  UniqueFileHandle m_checkedInstaller;
};
