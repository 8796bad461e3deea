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
