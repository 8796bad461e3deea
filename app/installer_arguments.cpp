#include "app/installer_arguments.h"

std::string ChooseInstallerArguments(InstallerKind kind, int silentInstall, int autoInstall) {
  const bool package = kind == InstallerKind::Package;
  if (silentInstall != 0) return package ? "/qn" : "/S";
  if (autoInstall != 0) return package ? "/passive" : "/A";
  return std::string();
}
