// Installing one program as the commands do it: the installer request read from the program's
// section of the version file, the checks it must pass before anything is downloaded, and the
// run of the installer dialog. Portable; the dialog is the system's.
#pragma once

#include <optional>
#include <string>

#include "app/launcher_request.h"
#include "app/launcher_system.h"
#include "app/result_code.h"

// NAME, DOWN_URL (with its mirrors DOWN_URL_2 ... DOWN_URL_9) and the optional DOWN_SIZE,
// DOWN_SHA256 and INSTALLER_TYPE of the program's `section` (its channel's or its own), the
// installer's kind, the arguments chosen from the settings for that kind, the agent.
InstallerRequest ReadInstallerRequest(const std::string& section, const LauncherRequest& request,
                                      LauncherSystem& system);

// Every rule an installer request must meet before the dialog is shown; the first one broken
// gives its outcome (no NAME, no DOWN_URL, a DOWN_URL or mirror that is not http:// or https://,
// an INSTALLER_TYPE other than "msi", or under a vendor key no well-formed DOWN_SHA256 or
// DOWN_SIZE: NoInstallInformation). Nothing when it may run.
std::optional<Outcome> CheckInstallerRequest(const InstallerRequest& installer);

// Reads and checks the request, runs the installer and gives the outcome of a failure or a
// cancel; nothing when the installer ran to its end.
std::optional<Outcome> InstallProgram(const std::string& section, const LauncherRequest& request,
                                      LauncherSystem& system);
