// The installer download dialog (resource 129): it downloads the installer through the
// download engine on a worker thread, shows the progress, lets the user cancel after a
// confirmation, and then runs the installer and waits for it. InstallProgram shows it
// modally and reads its end code and m_cancelled. User-interface thread only; the engine's
// messages reach it through the modal loop (and through the loop of a box opened over it).
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "common/dialog_win.h"
#include "common/format.h"

// The file name of the downloaded installer, in the launcher's or the temporary directory.
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

  int m_cancelled = 0;       // 1 once the user has cancelled: read after the dialog closed
  std::string m_setupPath;   // where the installer is downloaded to
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
  // Removes what a failed or cancelled download left, once the transfer has let go of it.
  void DiscardDownload();
  // Runs the downloaded installer, waits for it and ends the dialog (run_setup_win.cpp).
  void RunSetup();
  void SetStatusText(const char* format, ...) ZU_PRINTF_FORMAT(2, 3);
  // A notice or question over this dialog, captioned with the application title.
  int AskUser(const std::string& text, UINT type);

  MessageMap<CSetupDownloadDlg> m_messageMap;
  bool m_completionHeld = false;
  LPARAM m_heldCompletion = 0;
};
