// Staged rollout: whether an installed program that is older than the version its section
// offers is offered that version now. ROLLOUT in the section is the share of installs (0 to
// 100) that get it; each install's place in the sample, its bucket, is drawn afresh for every
// version from the install id; MIN_VERSION and MIN_MINORVERSION name a floor below which the
// update is offered whatever ROLLOUT says. Portable; zupublish computes the same bucket.
#pragma once

#include <optional>
#include <string>

#include "app/installed_program_info.h"
#include "app/launcher_system.h"
#include "versionfile/rollout_share.h"

// For a program found installed and older than `section` offers (`info` filled from that
// section). Without ROLLOUT the answer is yes and nothing is read or logged, as before staged
// rollouts existed; otherwise one log line names the program, the offered version, ROLLOUT,
// the bucket and the answer. An install id is made when there is none; without one only a
// share of 100 or the floor offers the update.
bool IsUpdateOffered(const std::string& programId, const std::string& section,
                     const InstalledProgramInfo& info, LauncherSystem& system);
