// The decisions of the launcher's commands: when the local version file is refreshed, whether
// its data are meant for this launcher, when the program is installed, what is looked up
// before and after, what is started and which outcome the request ends in. The system does
// the reading and running; only the main routine shows texts and reports codes. Portable.
#pragma once

#include "app/launch_parameter.h"
#include "app/launcher_request.h"
#include "app/launcher_system.h"
#include "app/result_code.h"

// run: install when missing or older, then start the program.
// checkversion: only compare (40, 41, 42 or 0; counted as success).
// install: as run, but report completion instead of starting.
// forceinstall, forcerun: install whatever is installed, then report or start.
// update: only refresh the local version file.
// Unknown: UnknownCommand.
Outcome RunLauncherCommand(LauncherCommand command, const LauncherRequest& request,
                           LauncherSystem& system);
