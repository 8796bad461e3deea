#include "app/launcher_system_win.h"

#include <windows.h>

#include <ctime>
#include <vector>

#include "app/download_addresses.h"
#include "app/install_id_store_win.h"
#include "app/update_policy_win.h"
#include "common/crypto_random_win.h"
#include "common/text.h"
#include "common/unique_handle_win.h"
#include "env/directories_win.h"
#include "env/ini_profile_win.h"
#include "env/log.h"
#include "env/registry_path_win.h"
#include "env/user_copy.h"
#include "env/user_copy_win.h"
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

WindowsLauncherSystem::WindowsLauncherSystem(const LauncherRequest& request,
                                             const IniDocument& launcherIni)
    : m_request(request),
      m_launcherIni(launcherIni),
      m_besideCopy(ResolveIniPath(request.localVersionFilePath)),
      m_copy(m_besideCopy) {}

WindowsLauncherSystem::~WindowsLauncherSystem() {
  ReleaseInstallLock();
}

void WindowsLauncherSystem::ReadCopyAt(const std::string& copy) {
  if (copy != m_copy) m_verifiedCopy.reset();
  m_copy = copy;
  if (m_copy != m_besideCopy && !m_userCopyLogged) {
    LogLine("local version file kept for this user: %s", m_copy.c_str());
    m_userCopyLogged = true;
  }
}

bool WindowsLauncherSystem::UseCopyForThisUser() {
  const std::string userCopy = UserCopyOf(m_besideCopy);
  if (userCopy.empty() || !FileExists(userCopy)) return false;
  ReadCopyAt(userCopy);
  return true;
}

std::vector<std::string> WindowsLauncherSystem::VersionFileAddresses() {
  const std::vector<std::string> iniAddresses = NumberedAddresses(
      m_launcherIni.GetValue("GENERAL", "VERSION_FILE_URL", ""), "VERSION_FILE_URL",
      [this](const std::string& key) { return m_launcherIni.GetValue("GENERAL", key.c_str(), ""); });
  return ChooseVersionFileAddresses(Policy(), m_request.versionFileUrl, iniAddresses);
}

// Under vendor keys the copy is held to the highest ISSUED of the address that served it (of
// its feed under FEED_ID); a copy from before mirrors were recorded, to that of the first one.
VersionFileOrigin WindowsLauncherSystem::Origin() {
  std::string served;
  if (!ReadServingAddress(m_copy, served)) {
    const std::vector<std::string> addresses = VersionFileAddresses();
    if (!addresses.empty()) served = addresses.front();
  }
  return OriginOf(m_launcherIni, served, m_copy);
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
  if (!LoadVerifiedLocalCopy(keys, Origin(), signedPart)) return false;
  TrustSignedPart(signedPart);
  return true;
}

int64_t WindowsLauncherSystem::VersionFileStamp() {
  if (IsUnderVendorKey()) return ReadRefreshTime(RecordsOf(Origin()));
  return ParseUpdateTime(VersionFileString("GENERAL", "LASTUPDATETIME"));
}

std::string WindowsLauncherSystem::VersionFileString(const std::string& section,
                                                     const std::string& key) {
  if (IsUnderVendorKey())
    return m_verifiedCopy ? m_verifiedCopy->GetValue(section.c_str(), key.c_str(), "")
                          : std::string();
  return ReadIniString(section, key, m_copy, "");
}

int WindowsLauncherSystem::VersionFileInt(const std::string& section, const std::string& key) {
  // The profile functions' reading of an integer: blanks, a sign, digits up to the first
  // other character, kept to 32 bits.
  if (IsUnderVendorKey())
    return static_cast<int>(
        static_cast<uint32_t>(ParseUpdateTime(VersionFileString(section, key))));
  return ReadIniInt(section, key, 0, m_copy);
}

bool WindowsLauncherSystem::VersionFileHasSection(const std::string& section) {
  if (IsUnderVendorKey()) {
    if (!m_verifiedCopy) return false;
    for (const IniSection& each : m_verifiedCopy->Sections()) {
      if (EqualsNoCase(each.name, section)) return true;
    }
    return false;
  }
  return HasIniSection(section, m_copy);
}

// Each address in turn while none can be reached; a file that arrived decides, whatever it is.
bool WindowsLauncherSystem::RefreshVersionFile() {
  // Beside the launcher whenever this user may write there (also after his own copy was
  // read: the folder may have been opened to him since), else in his own folder; a folder
  // that fails for another reason fails the refresh as before.
  std::string target = m_besideCopy;
  if (FolderRefusesNewFiles(FolderOfPath(m_besideCopy))) {
    const std::string userCopy = UserCopyOf(m_besideCopy);
    if (!userCopy.empty() && MakeUserCopyFolder(userCopy)) target = userCopy;
  }
  const std::vector<std::string> addresses = VersionFileAddresses();
  for (size_t index = 0; index < addresses.size(); ++index) {
    std::string signedPart;
    const VersionFileRefresh result =
        UpdateVersionFile(addresses[index], target, m_request.agentName, m_launcherIni, signedPart);
    if (result == VersionFileRefresh::Unreachable) {
      if (addresses.size() > 1) Log("version file not reached at " + addresses[index]);
      continue;
    }
    if (result == VersionFileRefresh::Failed) return false;
    if (addresses.size() > 1) Log("version file served by " + addresses[index]);
    ReadCopyAt(target);
    if (IsUnderVendorKey()) TrustSignedPart(signedPart);
    return true;
  }
  return false;
}

bool WindowsLauncherSystem::IsUnderVendorKey() {
  std::string keys;
  return FindPublicKeySetting(m_launcherIni, keys);
}

std::string WindowsLauncherSystem::ChannelSetting() {
  return m_launcherIni.GetValue("GENERAL", "CHANNEL", "");
}

const UpdatePolicy& WindowsLauncherSystem::Policy() {
  if (!m_policy) {
    const ResolvedPolicy resolved =
        ReadUpdatePolicy(m_request.hasProgramId ? m_request.programId : std::string());
    // Without a policy the log stays as it always was.
    for (const std::string& line : resolved.ignored) Log(line);
    if (resolved.inEffect) Log(resolved.summary);
    m_policy = resolved.policy;
  }
  return *m_policy;
}

bool WindowsLauncherSystem::ReadRegistryValue(const std::string& path, std::string& value) {
  RegistryView answered = RegistryView::Own;
  if (!::ReadRegistryValue(path, value, &answered)) return false;
  // An installer of the other architecture recorded it: worth knowing when a lookup surprises.
  if (answered != RegistryView::Own)
    LogLine("registry value read from the %s view: %s",
            answered == RegistryView::Bits64 ? "64-bit" : "32-bit", path.c_str());
  return true;
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
