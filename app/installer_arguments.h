// Which arguments the downloaded installer receives, from the request's settings. Portable.
#pragma once

#include <string>

// "/S" when `silentInstall` is non-zero, else "/A" when `autoInstall` is non-zero, else "".
std::string ChooseInstallerArguments(int silentInstall, int autoInstall);
