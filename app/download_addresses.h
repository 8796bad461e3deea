// Mirrors: the addresses a download is tried at, in order. A key may name up to nine
// addresses (KEY, then KEY_2 ... KEY_9); the next is tried only when one could not be reached
// (no connection, a failed name lookup, a status other than success, a stall or the
// deadline), never after a download that arrived and failed a check. Portable.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "app/update_policy.h"

constexpr int kMostAddresses = 9;

// `first` (the value of KEY), then KEY_2 ... KEY_9 as `read` gives them: empty values and
// repeats of an earlier address are left out.
std::vector<std::string> NumberedAddresses(
    const std::string& first, const std::string& key,
    const std::function<std::string(const std::string& key)>& read);

// The version file's addresses: the administrator's VersionFileURL replaces the launcher
// INI's; the request's VersionFileURL replaces both, but under a policy address only where the
// policy allows it (AllowRequestURL).
std::vector<std::string> ChooseVersionFileAddresses(const UpdatePolicy& policy,
                                                    const std::string& requestUrl,
                                                    const std::vector<std::string>& iniAddresses);
