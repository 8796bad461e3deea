// CSetupDownloadDlg::RunSetup: the last step of the installer download dialog.
#include <string>

#include "env/log.h"
#include "installer/installer_command_line.h"
#include "installer/installer_exit.h"
#include "installer/installer_process_win.h"
#include "installer/repaint_wait_win.h"
#include "installer/setup_download_dlg_win.h"
#include "res/load_text.h"

namespace {

// The process has ended, but the system may hold its image file a moment longer.
constexpr DWORD kDeleteDelayMs = 1000;

// The system folder, where msiexec lives; empty when the system does not say.
std::string SystemDirectory() {
  char directory[MAX_PATH * 4] = {};
  const UINT length = ::GetSystemDirectoryA(directory, sizeof directory);
  return length > 0 && length < sizeof directory ? std::string(directory, length) : std::string();
}

// Lets `milliseconds` pass with the dialog painting and every other message left queued.
void PauseRepainting(DWORD milliseconds) {
  const DWORD start = ::GetTickCount();
  while (::GetTickCount() - start < milliseconds) {
    const DWORD left = milliseconds - (::GetTickCount() - start);
    ::Sleep(left < kRepaintWaitSliceMs ? left : kRepaintWaitSliceMs);
    DispatchPaintMessages();
  }
}

}  // namespace

void CSetupDownloadDlg::RunSetup() {
  auto showInstalling = [&] {
    if (!m_programName.empty()) {
      SetStatusText(LoadText(TextId::InstallingNamed), m_programName.c_str());
    } else {
      SetStatusText("%s", LoadText(TextId::Installing));
    }
  };
  showInstalling();

  const InstallerLaunch launch =
      PlanInstallerLaunch(m_kind, m_setupPath, m_setupArgs, SystemDirectory());
  // The download still holds the checked file with writers shut out: what starts is what was
  // checked.
  for (size_t attempt = 0;; ++attempt) {
    UniqueKernelHandle process;
    if (!StartInstallerProcess(launch.program, launch.arguments, Window(), process, m_processApi)) {
      // The text tells the user where to fetch the installer by hand; this copy goes.
      DiscardDownload();
      AskUser(LoadText(TextId::CannotStartInstaller), MB_OK);
      EndDialog(kEndFailed);
      return;
    }
    if (!process) break;  // started through the shell without a handle: nothing to wait on
    WaitRepainting(process.get());
    DWORD exitCode = 0;
    if (!::GetExitCodeProcess(process.get(), &exitCode)) break;
    LogLine("%s", DescribeInstallerExit(m_kind, exitCode).c_str());
    // msiexec refuses while another installation runs; it may be over soon.
    if (!IsInstallerBusy(m_kind, exitCode) || attempt >= m_busyPausesMs.size()) break;
    SetStatusText("%s", LoadText(TextId::InstallerBusyWaiting));
    PauseRepainting(m_busyPausesMs[attempt]);
    showInstalling();
  }
  // The outcome comes from looking the program up again, whatever the installer said. The
  // modal loop returns only after this handler does, so the pause and the removal come before
  // DoModal hands back the code.
  EndDialog(kEndInstalled);
  ::Sleep(kDeleteDelayMs);
  DiscardDownload();  // the file, held until now, and its folder
}
