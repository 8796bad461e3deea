// The raw values of the administrator's policy for the launcher, as the registry holds them
// (HKEY_LOCAL_MACHINE or HKEY_CURRENT_USER, Software\Policies\ZuLauncher, and the subkey of
// one program below it). Only read; what they mean is decided above this layer. Portable.
#pragma once

#include <cstdint>
#include <string>

// Where a value was found, in the order of precedence: the machine's word beats the user's,
// and within each the program's own subkey beats the key of every program.
enum class PolicyScope { MachineProgram, Machine, UserProgram, User };
constexpr PolicyScope kPolicyScopes[] = {PolicyScope::MachineProgram, PolicyScope::Machine,
                                         PolicyScope::UserProgram, PolicyScope::User};

inline bool IsMachineScope(PolicyScope scope) {
  return scope == PolicyScope::MachineProgram || scope == PolicyScope::Machine;
}
inline bool IsProgramScope(PolicyScope scope) {
  return scope == PolicyScope::MachineProgram || scope == PolicyScope::UserProgram;
}

struct PolicyValue {
  enum class Kind { Absent, Number, Text, Other };  // Number: REG_DWORD; Text: REG_SZ
  Kind kind = Kind::Absent;
  uint32_t number = 0;
  std::string text;
};

constexpr char kPolicyKey[] = "Software\\Policies\\ZuLauncher";

// A program id names a subkey only when it can be one key name: 1 to 255 characters, no
// backslash and no control character (so no id reaches into another key).
bool IsPolicySubkeyName(const std::string& programId);

// "HKEY_LOCAL_MACHINE\Software\Policies\ZuLauncher\MYAPP" and the like, for log lines.
std::string DescribePolicyScope(PolicyScope scope, const std::string& programId);
