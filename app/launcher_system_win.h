// The launcher's system on Windows: the profile functions on the request's local version file
// and the program INI, the registry, the installer download dialog, CreateProcessA, the clock,
// the cryptographic random generator and the log receiver. User-interface thread only.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/launcher_request.h"
#include "app/launcher_system.h"
#include "common/unique_handle_win.h"
#include "ini/ini_document.h"
#include "versionfile/version_file_trust_win.h"

class WindowsLauncherSystem : public LauncherSystem {
 public:
  // Both must outlive the system; `launcherIni` names the version file's URL when the
  // request gives none.
  WindowsLauncherSystem(const LauncherRequest& request, const IniDocument& launcherIni);
  ~WindowsLauncherSystem() override;

  int64_t Now() override;
  bool VerifyLocalVersionFile() override;
  int64_t VersionFileStamp() override;
  std::string VersionFileString(const std::string& section, const std::string& key) override;
  int VersionFileInt(const std::string& section, const std::string& key) override;
  bool VersionFileHasSection(const std::string& section) override;
  bool RefreshVersionFile() override;
  bool UseCopyForThisUser() override;
  bool IsUnderVendorKey() override;
  std::string ChannelSetting() override;
  const UpdatePolicy& Policy() override;
  bool ReadRegistryValue(const std::string& path, std::string& value) override;
  int ProgramIniInt(const std::string& iniPath, const std::string& key) override;
  bool ReadInstallId(std::string& id) override;
  bool WriteInstallId(const std::string& id) override;
  bool CryptoRandom(uint8_t* bytes, size_t count) override;
  InstallLockResult TakeInstallLock(const std::string& lockName) override;
  void ReleaseInstallLock() override;
  InstallerResult RunInstaller(const InstallerRequest& installer) override;
  bool StartProgram(const std::string& commandLine, const std::string& directory) override;
  void Log(const std::string& line) override;

 private:
  std::vector<std::string> VersionFileAddresses();
  VersionFileOrigin Origin();
  void TrustSignedPart(const std::string& signedPart);
  void ReadCopyAt(const std::string& copy);

  const LauncherRequest& m_request;
  const IniDocument& m_launcherIni;
  // Full path of the copy read: LocalVersionFilePath, or this user's own copy of it.
  const std::string m_besideCopy;
  std::string m_copy;
  bool m_userCopyLogged = false;
  std::optional<UpdatePolicy> m_policy;  // read at the first call
  // Under vendor keys: the signed part of the copy as verified, the only version file the
  // commands read; null while there is none. The profile functions are not used then: they
  // would read the file again by name, and it may have changed since.
  std::unique_ptr<IniDocument> m_verifiedCopy;
  // The program's install lock (a named mutex) while this launcher installs it.
  UniqueKernelHandle m_installLock;
  bool m_installLockHeld = false;
};
