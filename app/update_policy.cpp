#include "app/update_policy.h"

#include "app/release_channel.h"
#include "common/format.h"
#include "transfer/web_address.h"

namespace {

// A decimal number of 1 to 9 digits (so it fits an int), nothing else.
std::optional<int> ParseVersionNumber(const std::string& text) {
  if (text.empty() || text.size() > 9) return std::nullopt;
  int value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

std::optional<VersionPrefix> ParseVersionPrefix(const std::string& text) {
  const size_t dot = text.find('.');
  VersionPrefix prefix;
  const std::optional<int> version = ParseVersionNumber(text.substr(0, dot));
  if (!version) return std::nullopt;
  prefix.version = *version;
  if (dot != std::string::npos) {
    prefix.minorVersion = ParseVersionNumber(text.substr(dot + 1));
    if (!prefix.minorVersion) return std::nullopt;
  }
  return prefix;
}

// One policy name: the places in their order, the first well-formed value wins.
class Resolver {
 public:
  Resolver(const PolicyReader& read, const std::string& programId, ResolvedPolicy& resolved)
      : m_read(read), m_programId(programId), m_resolved(resolved) {}

  // `accept` takes a value and says whether it was well-formed; `shape` says what is wanted.
  void Resolve(const char* name, const char* shape,
               const std::function<bool(const PolicyValue&, std::string& shown)>& accept) {
    for (PolicyScope scope : kPolicyScopes) {
      if (IsProgramScope(scope) && m_programId.empty()) continue;
      const PolicyValue value = m_read(scope, name);
      if (value.kind == PolicyValue::Kind::Absent) continue;
      std::string shown;
      if (accept(value, shown)) {
        m_resolved.summary += Format("%s%s=%s (%s)", m_resolved.summary.empty() ? "" : ", ",
                                     name, shown.c_str(), Where(scope).c_str());
        return;
      }
      m_resolved.ignored.push_back(Format("policy %s\\%s ignored: not %s", Where(scope).c_str(),
                                          name, shape));
    }
  }

 private:
  std::string Where(PolicyScope scope) const { return DescribePolicyScope(scope, m_programId); }

  const PolicyReader& m_read;
  const std::string& m_programId;
  ResolvedPolicy& m_resolved;
};

bool IsNumber(const PolicyValue& value) { return value.kind == PolicyValue::Kind::Number; }
bool IsText(const PolicyValue& value) { return value.kind == PolicyValue::Kind::Text; }

// A DWORD that is 0 or 1.
std::function<bool(const PolicyValue&, std::string&)> Switch(bool& target) {
  return [&target](const PolicyValue& value, std::string& shown) {
    if (!IsNumber(value) || value.number > 1) return false;
    target = value.number == 1;
    shown = std::to_string(value.number);
    return true;
  };
}

}  // namespace

ResolvedPolicy ResolveUpdatePolicy(const PolicyReader& read, const std::string& programId) {
  ResolvedPolicy resolved;
  UpdatePolicy& policy = resolved.policy;
  Resolver resolver(read, programId, resolved);
  resolver.Resolve("UpdatesDisabled", "a DWORD 0 or 1", Switch(policy.updatesDisabled));
  resolver.Resolve("CheckPeriodMinutes", "a DWORD from 0 to 43200",
                   [&](const PolicyValue& value, std::string& shown) {
                     if (!IsNumber(value) || value.number > kLongestCheckPeriodMinutes)
                       return false;
                     policy.checkPeriodMinutes = value.number;
                     shown = std::to_string(value.number);
                     return true;
                   });
  resolver.Resolve("TargetVersionPrefix", "a version such as 5 or 5.2",
                   [&](const PolicyValue& value, std::string& shown) {
                     if (!IsText(value)) return false;
                     policy.targetVersion = ParseVersionPrefix(value.text);
                     shown = value.text;
                     return policy.targetVersion.has_value();
                   });
  resolver.Resolve("VersionFileURL", "an http:// or https:// address",
                   [&](const PolicyValue& value, std::string& shown) {
                     if (!IsText(value) || !IsWebAddress(value.text)) return false;
                     policy.versionFileUrl = shown = value.text;
                     return true;
                   });
  resolver.Resolve("AllowRequestURL", "a DWORD 0 or 1", Switch(policy.allowRequestUrl));
  resolver.Resolve("Channel", "a channel name (1 to 32 of A-Z a-z 0-9 - _) or empty",
                   [&](const PolicyValue& value, std::string& shown) {
                     if (!IsText(value) || (!value.text.empty() && !IsChannelName(value.text)))
                       return false;
                     policy.channel = value.text;
                     shown = "'" + value.text + "'";
                     return true;
                   });
  resolved.inEffect = !resolved.summary.empty();
  resolved.summary = "policy: " + (resolved.inEffect ? resolved.summary : "none");
  return resolved;
}

bool IsWithinTargetVersion(const VersionPrefix& prefix, int version, int minorVersion) {
  if (version != prefix.version) return false;
  return !prefix.minorVersion || *prefix.minorVersion == minorVersion;
}

std::string FormatVersionPrefix(const VersionPrefix& prefix) {
  std::string text = std::to_string(prefix.version);
  if (prefix.minorVersion) text += "." + std::to_string(*prefix.minorVersion);
  return text;
}
