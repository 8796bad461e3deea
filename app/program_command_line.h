// The command line the launcher starts an installed program with. Portable.
#pragma once

#include <string>

// The program's full path in double quotes, one blank, then the parameters as given (the
// blank stays when they are empty).
std::string BuildProgramCommandLine(const std::string& installDir, const std::string& exeName,
                                    const std::string& launchParam);
