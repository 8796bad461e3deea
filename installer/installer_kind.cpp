#include "installer/installer_kind.h"

#include "common/text.h"

namespace {

// The path of an http:// or https:// address: after the host, before '?' or '#'.
std::string UrlPath(const std::string& url) {
  const size_t scheme = url.find("://");
  const size_t hostStart = scheme == std::string::npos ? 0 : scheme + 3;
  const size_t end = url.find_first_of("?#", hostStart);
  const std::string beforeQuery = url.substr(0, end);
  const size_t pathStart = beforeQuery.find('/', hostStart);
  return pathStart == std::string::npos ? std::string() : beforeQuery.substr(pathStart);
}

}  // namespace

bool ChooseInstallerKind(const std::string& installerType, const std::string& downloadUrl,
                         InstallerKind& kind) {
  if (!installerType.empty()) {
    if (!EqualsNoCase(installerType, "msi")) return false;
    kind = InstallerKind::Package;
    return true;
  }
  const std::string path = UrlPath(downloadUrl);
  const bool package = path.size() >= 4 && EqualsNoCase(path.substr(path.size() - 4), ".msi");
  kind = package ? InstallerKind::Package : InstallerKind::Program;
  return true;
}

const char* InstallerFileName(InstallerKind kind) {
  return kind == InstallerKind::Package ? "ZuLauncherTempSetup.msi" : "ZuLauncherTempSetup.exe";
}
