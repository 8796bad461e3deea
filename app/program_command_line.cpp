#include "app/program_command_line.h"

#include "app/installed_program_info.h"
#include "common/format.h"

std::string BuildProgramCommandLine(const std::string& installDir, const std::string& exeName,
                                    const std::string& launchParam) {
  return Format("\"%s\" %s", JoinPath(installDir, exeName, "\\").c_str(), launchParam.c_str());
}
