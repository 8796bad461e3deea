#include "installer/installer_command_line.h"

std::string BuildInstallerCommandLine(const std::string& installerPath,
                                      const std::string& arguments) {
  std::string line;
  line.reserve(installerPath.size() + arguments.size() + 3);
  line += '"';
  line += installerPath;
  line += "\" ";
  line += arguments;
  return line;
}

InstallerLaunch PlanInstallerLaunch(InstallerKind kind, const std::string& installerPath,
                                    const std::string& arguments, const std::string& systemDir) {
  if (kind == InstallerKind::Program) return {installerPath, arguments};
  std::string program = systemDir;
  if (!program.empty() && program.back() != '\\') program += '\\';
  program += "msiexec.exe";
  std::string packageArguments = "/i \"" + installerPath + "\" /norestart";
  if (!arguments.empty()) packageArguments += " " + arguments;
  return {program, packageArguments};
}
