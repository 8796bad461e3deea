// What the launcher knows of one installed program: where it is, what it runs, which
// version is installed and which one the server offers, and the lookup that finds it.
#pragma once

#include <optional>
#include <string>

#include "app/result_code.h"

class LauncherSystem;

struct InstalledProgramInfo {
  std::string InstallDir;      // registry value named by PATH_REG
  std::string ExeName;         // EXE_NAME of the program's section in the version file
  int LocalVersion = 0;        // program INI [GENERAL] VERSION
  int LocalMinorVersion = 0;   // program INI [GENERAL] MINORVERSION, 0 when absent
  int ServerVersion = 0;       // version file [program] VERSION
  int ServerMinorVersion = 0;  // version file [program] MINORVERSION, 0 when absent
};

// Joins a directory and a name with exactly one separator at the seam. An empty name or a
// name equal to the separator gives the directory with the separator. Multibyte-aware: the
// trail byte of a double-byte character never counts as a separator.
std::string JoinPath(const std::string& dir, const std::string& name, const std::string& sep);

// True when the installed version is not older than the offered one; minor versions take
// part only when checkMinorVersion is set (and then also under a newer major version).
bool IsInstalledVersionCurrent(const InstalledProgramInfo& info, unsigned checkMinorVersion);

// Fills `info` from the program's section of the local version file (its channel's or its
// own), the registry value it names and the program INI, stopping at the first missing piece,
// whose outcome it gives (PATH_REG, registry, EXE_NAME, INI_FILE_NAME, installed VERSION,
// offered VERSION); nothing when the program was found. `info` is meaningful only then.
std::optional<Outcome> GetInstalledProgramInfo(const std::string& section, LauncherSystem& system,
                                               InstalledProgramInfo& info);
