// What the installer download dialog is given: the program's display name and installer URL
// from the version file, what the installer must be (size and SHA-256, as the version file
// writes them; the dialog checks the file against them), the installer's arguments and the
// HTTP user agent. The launcher's commands read it from the version file and refuse a request
// that breaks their rules before anything is downloaded. Portable.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "installer/installer_exit.h"
#include "installer/installer_kind.h"

struct InstallerRequest {
  std::string programName;  // NAME
  std::string downloadUrl;  // DOWN_URL
  // DOWN_URL_2 ... DOWN_URL_9: tried in order when the one before could not be reached, never
  // after a download that arrived and failed its checks.
  std::vector<std::string> mirrorUrls;
  std::string downSize;     // DOWN_SIZE, optional: empty when absent
  std::string downSha256;   // DOWN_SHA256, optional: empty when absent
  std::string installerType;                    // INSTALLER_TYPE as written, empty when absent
  InstallerKind kind = InstallerKind::Program;  // from INSTALLER_TYPE and DOWN_URL
  std::string setupArgs;  // "/S", "/A" or empty; for a package "/qn", "/passive" or empty
  std::string agentName;
  // Under a vendor key the signed version file vouches for the installer only through its
  // digest and size, so DOWN_SHA256 and DOWN_SIZE must then be well-formed.
  bool pinRequired = false;
  // The pauses before each new run of a package while msiexec answers that another
  // installation is in progress; tests shorten them.
  std::vector<uint32_t> busyPausesMs = DefaultInstallerBusyPauses();
};
