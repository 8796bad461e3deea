#include "app/launcher_system_win.h"

#include <windows.h>

#include <ctime>

#include "app/install_id_store_win.h"
#include "common/crypto_random_win.h"
#include "common/text.h"
#include "common/unique_handle_win.h"
#include "env/ini_profile_win.h"
#include "env/log.h"
#include "env/registry_path_win.h"
#include "ini/ini_document.h"
#include "installer/install_wait_dlg_win.h"
#include "installer/installer_signer.h"
#include "installer/setup_download_dlg_win.h"
#include "res/resource.h"
#include "versionfile/signed_version_file.h"
#include "versionfile/version_file_records_win.h"
#include "versionfile/version_file_trust_win.h"
#include "versionfile/version_file_win.h"
#include "versionfile/version_refresh.h"

int64_t WindowsLauncherSystem::Now() {
  return static_cast<int64_t>(std::time(nullptr));
}

WindowsLauncherSystem::~WindowsLauncherSystem() {
  ReleaseInstallLock();
}

std::string WindowsLauncherSystem::VersionFileUrl() const {
  std::string url = m_request.versionFileUrl;
  if (url.empty()) url = m_launcherIni.GetValue("GENERAL", "VERSION_FILE_URL", "");
  return url;
}

void WindowsLauncherSystem::TrustSignedPart(const std::string& signedPart) {
  m_verifiedCopy = std::make_unique<IniDocument>();
  m_verifiedCopy->LoadBuffer(signedPart.data(), signedPart.size());
}

bool WindowsLauncherSystem::VerifyLocalVersionFile() {
  std::string keys;
  if (!FindPublicKeySetting(m_launcherIni, keys)) return true;
  m_verifiedCopy.reset();
  std::string signedPart;
  if (!LoadVerifiedLocalCopy(keys, ResolveIniPath(m_request.localVersionFilePath), VersionFileUrl(),
                             signedPart))
    return false;
  TrustSignedPart(signedPart);
  return true;
}

int64_t WindowsLauncherSystem::VersionFileStamp() {
  if (IsUnderVendorKey()) return ReadRefreshTime(ResolveIniPath(m_request.localVersionFilePath));
  return ParseUpdateTime(VersionFileString("GENERAL", "LASTUPDATETIME"));
}

std::string WindowsLauncherSystem::VersionFileString(const std::string& section,
                                                     const std::string& key) {
  if (IsUnderVendorKey())
    return m_verifiedCopy ? m_verifiedCopy->GetValue(section.c_str(), key.c_str(), "")
                          : std::string();
  return ReadIniString(section, key, m_request.localVersionFilePath, "");
}

int WindowsLauncherSystem::VersionFileInt(const std::string& section, const std::string& key) {
  // The profile functions' reading of an integer: blanks, a sign, digits up to the first
  // other character, kept to 32 bits.
  if (IsUnderVendorKey())
    return static_cast<int>(
        static_cast<uint32_t>(ParseUpdateTime(VersionFileString(section, key))));
  return ReadIniInt(section, key, 0, m_request.localVersionFilePath);
}

bool WindowsLauncherSystem::VersionFileHasSection(const std::string& section) {
  if (IsUnderVendorKey()) {
    if (!m_verifiedCopy) return false;
    for (const IniSection& each : m_verifiedCopy->Sections()) {
      if (EqualsNoCase(each.name, section)) return true;
    }
    return false;
  }
  return HasIniSection(section, m_request.localVersionFilePath);
}

bool WindowsLauncherSystem::RefreshVersionFile() {
  std::string signedPart;
  if (!UpdateVersionFile(VersionFileUrl(), m_request.localVersionFilePath, m_request.agentName,
                         m_launcherIni, signedPart))
    return false;
  if (IsUnderVendorKey()) TrustSignedPart(signedPart);
  return true;
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

InstallLockResult WindowsLauncherSystem::TakeInstallLock(const std::string& lockName) {
  ReleaseInstallLock();
  m_installLock.reset(::CreateMutexA(nullptr, FALSE, lockName.c_str()));
  if (!m_installLock) {
    // Without the lock the launcher installs as it did before there was one.
    LogLine("install lock unavailable (error %lu)", ::GetLastError());
    return InstallLockResult::Taken;
  }
  if (TryTakeInstallLock(m_installLock.get())) {
    m_installLockHeld = true;
    return InstallLockResult::Taken;
  }
  LogLine("install lock held by another launcher: waiting");
  CInstallWaitDlg dialog(m_installLock.get());
  const INT_PTR endCode = dialog.DoModal(::GetModuleHandleA(nullptr), IDD_SETUP_DOWNLOAD, nullptr);
  if (endCode != CInstallWaitDlg::kEndTaken) {
    m_installLock.reset();
    return InstallLockResult::Cancelled;
  }
  m_installLockHeld = true;
  return InstallLockResult::TakenAfterWait;
}

void WindowsLauncherSystem::ReleaseInstallLock() {
  if (m_installLockHeld) ::ReleaseMutex(m_installLock.get());
  m_installLockHeld = false;
  m_installLock.reset();
}

InstallerResult WindowsLauncherSystem::RunInstaller(const InstallerRequest& installer) {
  // The vendor's pin lives in the launcher INI, which no download ever changes.
  CSetupDownloadDlg dialog(installer, FindInstallerSignerSetting(m_launcherIni));
  // Dialog 129 of the program's own resources, with no owner window.
  const INT_PTR endCode = dialog.DoModal(::GetModuleHandleA(nullptr), IDD_SETUP_DOWNLOAD, nullptr);
  if (endCode == CSetupDownloadDlg::kEndInstalled) return InstallerResult::Installed;
  return dialog.Cancelled() ? InstallerResult::Cancelled : InstallerResult::Failed;
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
