#include "env/ini_path.h"

#include "common/text.h"

std::string ResolveIniPathAt(const std::string& path, const std::string& moduleDirectory) {
  if (FindChar(path, ':') != std::string::npos) return path;
  // A backslash is never a lead byte, so when the first byte is one the second byte starts
  // the second character.
  if (path.size() >= 2 && path[0] == '\\' && path[1] == '\\') return path;
  return moduleDirectory + path;
}
