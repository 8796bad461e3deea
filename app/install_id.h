// The id of this install: 32 lower-case hexadecimal digits from the system's cryptographic
// random generator, made the first time a staged rollout needs it and kept by the system
// (the user's registry on Windows), so that one install keeps its place in every sample.
// Portable: the system only stores and draws.
#pragma once

#include <string>

#include "app/launcher_system.h"
#include "versionfile/rollout_share.h"

// The stored id when it has the shape; otherwise a new one, stored in place of whatever was
// there. False, with the reason in `why`, when no id could be drawn or it could not be kept:
// an id that is not kept would draw a new sample at every run.
bool ObtainInstallId(LauncherSystem& system, std::string& id, std::string& why);
