// The launcher's main routine: serves the one request its argument describes and gives the
// result code, which it has also logged and posted to the host window. Windows only.
#pragma once

#include <string>

int ZuLauncherMain(const std::string& argument);
