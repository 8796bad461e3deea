#include "app/update_policy_win.h"

#include "env/policy_registry_win.h"

ResolvedPolicy ReadUpdatePolicy(const std::string& programId) {
  const std::string subkey = IsPolicySubkeyName(programId) ? programId : std::string();
  return ResolveUpdatePolicy(
      [&subkey](PolicyScope scope, const std::string& name) {
        return ReadPolicyValue(scope, subkey, name);
      },
      subkey);
}
