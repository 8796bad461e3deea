// What an installer's exit code means, for the log, and which answer is worth waiting out.
// The launcher decides a command's outcome by looking the program up again after the
// installer has ended; the exit code only tells the user and the vendor why. Portable.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "installer/installer_kind.h"

// "installer exit 3010: success, a restart is required"; a code the table does not know:
// "installer exit 77".
std::string DescribeInstallerExit(InstallerKind kind, uint32_t exitCode);

// msiexec's 1618: another installation is in progress on this machine. The same package may
// go through once that one has ended.
bool IsInstallerBusy(InstallerKind kind, uint32_t exitCode);

// The pauses before each new attempt while msiexec answers 1618; after the last one the
// installer's answer stands.
std::vector<uint32_t> DefaultInstallerBusyPauses();
