// CSetupDownloadDlg::RunSetup: the last step of the installer download dialog.
#include <string>

#include "installer/installer_process_win.h"
#include "installer/repaint_wait_win.h"
#include "installer/setup_download_dlg_win.h"
#include "res/load_text.h"

namespace {

// The process has ended, but the system may hold its image file a moment longer.
constexpr DWORD kDeleteDelayMs = 1000;

}  // namespace

void CSetupDownloadDlg::RunSetup() {
  if (!m_programName.empty()) {
    SetStatusText(LoadText(TextId::InstallingNamed), m_programName.c_str());
  } else {
    SetStatusText("%s", LoadText(TextId::Installing));
  }

  // The checked file is still held open with writers shut out: what starts is what was checked.
  UniqueKernelHandle process;
  if (!StartInstallerProcess(m_setupPath, m_setupArgs, Window(), process, m_processApi)) {
    // The text tells the user where to fetch the installer by hand; this copy goes.
    DiscardDownload();
    AskUser(LoadText(TextId::CannotStartInstaller), MB_OK);
    EndDialog(kEndFailed);
    return;
  }
  if (process) WaitRepainting(process.get());
  // The installer's own result is not examined. The modal loop returns only after this
  // handler does, so the pause and the removal come before DoModal hands back the code.
  EndDialog(kEndInstalled);
  m_checkedInstaller.reset();
  ::Sleep(kDeleteDelayMs);
  DiscardDownload();  // the file and its folder
}
