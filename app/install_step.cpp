#include "app/install_step.h"

#include "app/download_addresses.h"
#include "app/installer_arguments.h"
#include "common/hex_digest.h"
#include "installer/installer_check.h"
#include "transfer/web_address.h"

namespace {

// Under a vendor key: what the installer request lacks of its pin, first the digest, then
// the size that bounds the download; empty when nothing.
std::string MissingPin(const InstallerRequest& installer) {
  if (!installer.pinRequired) return std::string();
  Sha256Digest digest;
  if (!ParseSha256Hex(installer.downSha256, digest)) return "DOWN_SHA256";
  int64_t size = 0;
  if (!ParseInstallerSize(installer.downSize, size)) return "DOWN_SIZE";
  return std::string();
}

}  // namespace

InstallerRequest ReadInstallerRequest(const std::string& section, const LauncherRequest& request,
                                      LauncherSystem& system) {
  InstallerRequest installer;
  installer.programName = system.VersionFileString(section, "NAME");
  installer.downloadUrl = system.VersionFileString(section, "DOWN_URL");
  if (!installer.downloadUrl.empty()) {
    std::vector<std::string> addresses =
        NumberedAddresses(installer.downloadUrl, "DOWN_URL", [&](const std::string& key) {
          return system.VersionFileString(section, key);
        });
    installer.mirrorUrls.assign(addresses.begin() + 1, addresses.end());
  }
  // Optional: without them the installer is taken as it comes.
  installer.downSize = system.VersionFileString(section, "DOWN_SIZE");
  installer.downSha256 = system.VersionFileString(section, "DOWN_SHA256");
  installer.installerType = system.VersionFileString(section, "INSTALLER_TYPE");
  // An unknown INSTALLER_TYPE is refused by CheckInstallerRequest; the kind stays Program.
  ChooseInstallerKind(installer.installerType, installer.downloadUrl, installer.kind);
  installer.setupArgs = ChooseInstallerArguments(installer.kind, request.settings.SilentInstall,
                                                 request.settings.AutoInstall);
  installer.agentName = request.agentName;
  installer.pinRequired = system.IsUnderVendorKey();
  return installer;
}

std::optional<Outcome> CheckInstallerRequest(const InstallerRequest& installer) {
  // A DOWN_URL that is not a web address (file:, ftp:, no scheme) is no install information.
  if (installer.programName.empty() || installer.downloadUrl.empty() ||
      !IsWebAddress(installer.downloadUrl))
    return Outcome::NoInstallInformation;
  for (const std::string& mirror : installer.mirrorUrls)
    if (!IsWebAddress(mirror)) return Outcome::NoInstallInformation;
  InstallerKind kind;
  if (!ChooseInstallerKind(installer.installerType, installer.downloadUrl, kind))
    return Outcome::NoInstallInformation;
  if (!MissingPin(installer).empty()) return Outcome::NoInstallInformation;
  return std::nullopt;
}

std::optional<Outcome> InstallProgram(const std::string& section, const LauncherRequest& request,
                                      LauncherSystem& system) {
  const InstallerRequest installer = ReadInstallerRequest(section, request, system);
  if (const std::optional<Outcome> broken = CheckInstallerRequest(installer)) {
    const std::string missing = MissingPin(installer);
    if (!missing.empty())
      system.Log("installer refused: no well-formed " + missing + " under PUBLIC_KEY");
    InstallerKind kind;
    if (!ChooseInstallerKind(installer.installerType, installer.downloadUrl, kind))
      system.Log("installer refused: INSTALLER_TYPE=" + installer.installerType + " is not known");
    return broken;
  }
  switch (system.RunInstaller(installer)) {
    case InstallerResult::Installed:
      return std::nullopt;
    case InstallerResult::Cancelled:
      return Outcome::InstallCancelled;
    case InstallerResult::Failed:
      break;
  }
  return Outcome::InstallFailed;
}
