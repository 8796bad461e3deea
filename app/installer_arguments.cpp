#include "app/installer_arguments.h"

std::string ChooseInstallerArguments(int silentInstall, int autoInstall) {
  if (silentInstall != 0) return "/S";
  if (autoInstall != 0) return "/A";
  return std::string();
}
