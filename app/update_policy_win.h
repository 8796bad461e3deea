// The administrator's policy as this machine's registry holds it, for the launcher and for
// the host tool that shows it. Any thread.
#pragma once

#include <string>

#include "app/update_policy.h"

// The policy for `programId` (empty: none; an id that cannot be a key name is read as none).
ResolvedPolicy ReadUpdatePolicy(const std::string& programId);
