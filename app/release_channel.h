// Release channels: a host or a launcher INI may ask for a channel ("beta"), and then every
// read of the program's section goes to [<ProgramID>@<channel>] when the version file has that
// section, else to [<ProgramID>]: one whole section, never a mix of the two. Portable.
#pragma once

#include <string>

#include "app/launcher_request.h"
#include "app/launcher_system.h"

// 1 to 32 characters, each one of A-Z a-z 0-9 - _ (so a name can never reach into a path,
// another section's header or another key).
bool IsChannelName(const std::string& name);

// The administrator's Channel policy when there is one; else the request's Channel attribute
// when the request has one (empty: no channel), otherwise CHANNEL of the launcher INI. A value of another shape is not used (no channel), and the log
// says so.
std::string ChooseChannel(const LauncherRequest& request, LauncherSystem& system);

// The section every read of the program's data uses; with a channel, the choice is logged.
std::string ChooseProgramSection(const LauncherRequest& request, LauncherSystem& system);
