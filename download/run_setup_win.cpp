// CSetupDownloadDlg::RunSetup: the last step of the installer download dialog.
#include <string>

#include "app/load_text.h"
#include "download/installer_process_win.h"
#include "download/repaint_wait_win.h"
#include "download/setup_download_dlg_win.h"

namespace {

constexpr int kTextInstallingNamed = 36;
constexpr int kTextInstalling = 37;
constexpr int kTextCannotStartInstaller = 38;

// The process has ended, but the system may hold its image file a moment longer.
constexpr DWORD kDeleteDelayMs = 1000;

}  // namespace

void CSetupDownloadDlg::RunSetup() {
  if (!m_programName.empty()) {
    SetStatusText(LoadText(kTextInstallingNamed), m_programName.c_str());
  } else {
    SetStatusText("%s", LoadText(kTextInstalling));
  }

  // The checked file is still held open with writers shut out: what starts is what was checked.
  UniqueKernelHandle process;
  if (!StartInstallerProcess(m_setupPath, m_setupArgs, Window(), process)) {
    // The text tells the user where to fetch the installer by hand; this copy goes.
    DiscardDownload();
    AskUser(LoadText(kTextCannotStartInstaller), MB_OK);
    EndDialog(kEndFailed);
    return;
  }
  if (process) WaitRepainting(process.get());
  // The installer's own result is not examined. The modal loop returns only after this
  // handler does, so the pause and the removal come before InstallProgram sees the code.
  EndDialog(kEndInstalled);
  m_checkedInstaller.reset();
  ::Sleep(kDeleteDelayMs);
  DiscardDownload();  // the file and its folder
}
