#include "app/install_program_win.h"

#include <windows.h>

#include "app/command_result.h"
#include "app/installer_arguments.h"
#include "app/launcher_settings.h"
#include "app/version_file_trust_win.h"
#include "common/hex_digest.h"
#include "download/setup_download_dlg_win.h"
#include "env/ini_profile_win.h"
#include "env/log.h"
#include "res/resource.h"

namespace {

constexpr int kCodeNoInstallInformation = 24;
constexpr int kCodeCancelled = 6;
constexpr int kCodeInstallFailed = 7;
constexpr int kTextNoInstallInformation = 14;
constexpr int kTextCancelled = 44;
constexpr int kTextInstallFailed = 15;

}  // namespace

bool InstallProgram(const std::string& programId, std::string& messageText, int& resultCode) {
  const std::string name = ReadIniString(programId, "NAME", LocalVersionFilePath, "");
  const std::string url = ReadIniString(programId, "DOWN_URL", LocalVersionFilePath, "");
  if (name.empty() || url.empty())
    return FailWith(messageText, resultCode, kTextNoInstallInformation, kCodeNoInstallInformation);
  // Under a vendor key the signature covers the installer only through its digest.
  Sha256Digest pinned;
  if (IsUnderVendorKey() &&
      !ParseSha256Hex(ReadIniString(programId, "DOWN_SHA256", LocalVersionFilePath, ""), pinned)) {
    LogLine("installer refused: no well-formed DOWN_SHA256 under PUBLIC_KEY");
    return FailWith(messageText, resultCode, kTextNoInstallInformation, kCodeNoInstallInformation);
  }

  CSetupDownloadDlg dialog;
  dialog.m_programName = name;
  dialog.m_downUrl = url;
  dialog.m_setupArgs =
      ChooseInstallerArguments(g_launcherSettings.SilentInstall, g_launcherSettings.AutoInstall);
  dialog.m_agentName = AgentName;
  // Dialog 129 of the program's own resources, with no owner window.
  const INT_PTR endCode = dialog.DoModal(::GetModuleHandleA(nullptr), IDD_SETUP_DOWNLOAD, nullptr);
  if (endCode == CSetupDownloadDlg::kEndInstalled) return true;

  if (dialog.m_cancelled) return FailWith(messageText, resultCode, kTextCancelled, kCodeCancelled);
  return FailWith(messageText, resultCode, kTextInstallFailed, kCodeInstallFailed);
}
