// The user agent the launcher sends: the host's AgentName unless it could break the request
// apart (a line break would start a header line of its own). Portable.
#pragma once

#include <string>

constexpr const char kDefaultAgentName[] = "ZuLauncher";

// False when the name holds a control character: any byte below 0x20, or 0x7F.
bool IsUsableAgentName(const std::string& name);
