// The administrator's word on updates: the values under Software\Policies\ZuLauncher of the
// machine and of the user (machine first; within each, the program's subkey first), read
// once per run and turned into what the commands obey. A malformed value is ignored with a
// line that says so, and the next place is asked. Portable: the system reads the values.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "env/policy_value.h"

constexpr uint32_t kLongestCheckPeriodMinutes = 43200;  // thirty days

// "5" (any 5.x) or "5.2" (only 5.2): the version line an administrator holds a program to.
struct VersionPrefix {
  int version = 0;
  std::optional<int> minorVersion;
};

struct UpdatePolicy {
  bool updatesDisabled = false;                 // UpdatesDisabled DWORD 1
  std::optional<uint32_t> checkPeriodMinutes;   // CheckPeriodMinutes, 0 to 43200
  std::optional<VersionPrefix> targetVersion;   // TargetVersionPrefix
  std::string versionFileUrl;                   // VersionFileURL; empty: none
  bool allowRequestUrl = false;                 // AllowRequestURL DWORD 1
  std::optional<std::string> channel;           // Channel (empty: no channel)
};

struct ResolvedPolicy {
  UpdatePolicy policy;
  std::vector<std::string> ignored;  // one line per malformed value
  bool inEffect = false;             // some value was taken
  std::string summary;               // "policy: none" or "policy: Name=value (where), ..."
};

// `read` answers one value of one place; `programId` is empty when the request names no
// program (or one that cannot be a key name), and the program places are then not asked.
using PolicyReader = std::function<PolicyValue(PolicyScope scope, const std::string& name)>;
ResolvedPolicy ResolveUpdatePolicy(const PolicyReader& read, const std::string& programId);

// True when `prefix` admits the offered version.
bool IsWithinTargetVersion(const VersionPrefix& prefix, int version, int minorVersion);
// "5" or "5.2".
std::string FormatVersionPrefix(const VersionPrefix& prefix);
