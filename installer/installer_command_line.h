// The command line the downloaded installer is started with. Portable.
#pragma once

#include <string>

// `"path" arguments`: the path in double quotes, so a launcher directory with spaces cannot
// make the system start a different program whose name is a prefix of the path; then one
// space and the arguments ("/S", "/A" or none: the line then ends with the space).
std::string BuildInstallerCommandLine(const std::string& installerPath,
                                      const std::string& arguments);
