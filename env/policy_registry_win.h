// Reading one value of the administrator's policy from the registry. Group Policy writes
// HKEY_LOCAL_MACHINE\Software\Policies in the machine's own view, which 32-bit and 64-bit
// programs share; the 64-bit view is read from either build. Read access only. Any thread.
#pragma once

#include <string>

#include "env/policy_value.h"

// The value `name` in `scope` (for a program scope, under the subkey `programId`, which the
// caller has checked with IsPolicySubkeyName). Absent when the key or the value is missing.
PolicyValue ReadPolicyValue(PolicyScope scope, const std::string& programId,
                            const std::string& name);
