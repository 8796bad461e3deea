// The two kinds of installer the launcher runs: a program (an NSIS-style .exe started with
// "/S", "/A" or nothing) and a Windows Installer package (.msi, installed by the system's
// msiexec). The kind decides the downloaded file's name, the arguments and the command line.
// Portable.
#pragma once

#include <string>

enum class InstallerKind {
  Program,  // ZuLauncherTempSetup.exe, started itself
  Package,  // ZuLauncherTempSetup.msi, installed by msiexec
};

// INSTALLER_TYPE as written decides: "msi" (any letter case) is a package; empty leaves it to
// DOWN_URL, whose path ending in ".msi" (any letter case, before any query or fragment) makes a
// package and anything else a program. False for any other INSTALLER_TYPE: such a program is
// not installed at all rather than run the wrong way.
bool ChooseInstallerKind(const std::string& installerType, const std::string& downloadUrl,
                         InstallerKind& kind);

// The name the downloaded installer is saved under in its private folder.
const char* InstallerFileName(InstallerKind kind);
