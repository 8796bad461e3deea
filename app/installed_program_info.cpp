#include "app/installed_program_info.h"

#include "common/text.h"

std::string JoinPath(const std::string& dir, const std::string& name, const std::string& sep) {
  std::string tail = name;
  if (tail == sep) {
    tail.clear();
  } else if (!sep.empty() && tail.compare(0, sep.size(), sep) == 0) {
    tail.erase(0, sep.size());
  }
  // The directory ends in the separator only if the separator begins a character there.
  bool endsWithSeparator = false;
  if (!sep.empty() && dir.size() >= sep.size()) {
    size_t seam = dir.size() - sep.size();
    endsWithSeparator = FindSubstring(dir, sep, seam) == seam;
  }
  return endsWithSeparator ? dir + tail : dir + sep + tail;
}

bool IsInstalledVersionCurrent(const InstalledProgramInfo& info, unsigned checkMinorVersion) {
  if (info.LocalVersion < info.ServerVersion) return false;
  if (checkMinorVersion != 0 && info.LocalMinorVersion < info.ServerMinorVersion) return false;
  return true;
}
