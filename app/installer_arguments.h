// Which arguments the downloaded installer receives, from the request's settings. Portable.
#pragma once

#include <string>

#include "installer/installer_kind.h"

// A program: "/S" when `silentInstall` is non-zero, else "/A" when `autoInstall` is non-zero,
// else "". A package, for msiexec: "/qn" (no user interface), "/passive" (progress only) or "".
std::string ChooseInstallerArguments(InstallerKind kind, int silentInstall, int autoInstall);
