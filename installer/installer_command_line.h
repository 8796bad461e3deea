// The command line the downloaded installer is started with. Portable.
#pragma once

#include <string>

#include "installer/installer_kind.h"

// `"path" arguments`: the path in double quotes, so a launcher directory with spaces cannot
// make the system start a different program whose name is a prefix of the path; then one
// space and the arguments ("/S", "/A" or none: the line then ends with the space).
std::string BuildInstallerCommandLine(const std::string& installerPath,
                                      const std::string& arguments);

// What is started for a downloaded installer: the program and its arguments.
struct InstallerLaunch {
  std::string program;
  std::string arguments;
};

// A program installer is started itself with `arguments`. A package is given to msiexec of
// `systemDir` (the system folder, never a name the search path resolves): `/i "package"
// /norestart`, then `arguments` ("/qn", "/passive") when there are any. A restart is never
// made behind the user's back; the log says when one is needed.
InstallerLaunch PlanInstallerLaunch(InstallerKind kind, const std::string& installerPath,
                                    const std::string& arguments, const std::string& systemDir);
