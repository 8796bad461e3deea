#include "env/policy_value.h"

bool IsPolicySubkeyName(const std::string& programId) {
  if (programId.empty() || programId.size() > 255) return false;
  for (char c : programId)
    if (c == '\\' || static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return false;
  return true;
}

std::string DescribePolicyScope(PolicyScope scope, const std::string& programId) {
  std::string path = IsMachineScope(scope) ? "HKEY_LOCAL_MACHINE\\" : "HKEY_CURRENT_USER\\";
  path += kPolicyKey;
  if (IsProgramScope(scope)) path += "\\" + programId;
  return path;
}
