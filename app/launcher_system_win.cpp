#include "app/launcher_system_win.h"

#include <windows.h>

#include <ctime>

#include "app/install_id_store_win.h"
#include "app/signed_version_file.h"
#include "app/version_file.h"
#include "common/crypto_random_win.h"
#include "common/unique_handle_win.h"
#include "download/setup_download_dlg_win.h"
#include "env/ini_profile_win.h"
#include "env/log.h"
#include "env/registry_path_win.h"
#include "ini/ini_document.h"
#include "res/resource.h"

int64_t WindowsLauncherSystem::Now() {
  return static_cast<int64_t>(std::time(nullptr));
}

std::string WindowsLauncherSystem::VersionFileString(const std::string& section,
                                                     const std::string& key) {
  return ReadIniString(section, key, m_request.localVersionFilePath, "");
}

int WindowsLauncherSystem::VersionFileInt(const std::string& section, const std::string& key) {
  return ReadIniInt(section, key, 0, m_request.localVersionFilePath);
}

bool WindowsLauncherSystem::VersionFileHasSection(const std::string& section) {
  return HasIniSection(section, m_request.localVersionFilePath);
}

bool WindowsLauncherSystem::RefreshVersionFile() {
  std::string url = m_request.versionFileUrl;
  if (url.empty()) url = m_launcherIni.GetValue("GENERAL", "VERSION_FILE_URL", "");
  return UpdateVersionFile(url, m_request.localVersionFilePath, m_request.agentName,
                           m_launcherIni);
}

bool WindowsLauncherSystem::IsUnderVendorKey() {
  std::string keys;
  return FindPublicKeySetting(m_launcherIni, keys);
}

std::string WindowsLauncherSystem::ChannelSetting() {
  return m_launcherIni.GetValue("GENERAL", "CHANNEL", "");
}

bool WindowsLauncherSystem::ReadRegistryValue(const std::string& path, std::string& value) {
  return ::ReadRegistryValue(path, value);
}

int WindowsLauncherSystem::ProgramIniInt(const std::string& iniPath, const std::string& key) {
  return ReadIniInt("GENERAL", key, 0, iniPath);
}

bool WindowsLauncherSystem::ReadInstallId(std::string& id) {
  return ReadStoredInstallId(id);
}

bool WindowsLauncherSystem::WriteInstallId(const std::string& id) {
  return StoreInstallId(id);
}

bool WindowsLauncherSystem::CryptoRandom(uint8_t* bytes, size_t count) {
  return CryptoRandomBytes(bytes, count);
}

InstallerResult WindowsLauncherSystem::RunInstaller(const InstallerRequest& installer) {
  CSetupDownloadDlg dialog;
  dialog.m_programName = installer.programName;
  dialog.m_downUrl = installer.downloadUrl;
  dialog.m_setupArgs = installer.setupArgs;
  dialog.m_agentName = installer.agentName;
  dialog.m_downSize = installer.downSize;
  dialog.m_downSha256 = installer.downSha256;
  // Dialog 129 of the program's own resources, with no owner window.
  const INT_PTR endCode = dialog.DoModal(::GetModuleHandleA(nullptr), IDD_SETUP_DOWNLOAD, nullptr);
  if (endCode == CSetupDownloadDlg::kEndInstalled) return InstallerResult::Installed;
  return dialog.m_cancelled ? InstallerResult::Cancelled : InstallerResult::Failed;
}

bool WindowsLauncherSystem::StartProgram(const std::string& commandLine,
                                         const std::string& directory) {
  std::string writableCommandLine = commandLine;  // CreateProcessA may write into it
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  const BOOL started = ::CreateProcessA(nullptr, writableCommandLine.data(), nullptr, nullptr,
                                        FALSE, 0, nullptr, directory.c_str(), &startup, &process);
  UniqueKernelHandle processHandle(process.hProcess);
  UniqueKernelHandle threadHandle(process.hThread);
  return started != FALSE;
}

void WindowsLauncherSystem::Log(const std::string& line) {
  LogLine("%s", line.c_str());
}
