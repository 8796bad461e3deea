#include "app/release_channel.h"

#include "common/format.h"

namespace {

constexpr size_t kLongestChannelName = 32;

bool IsChannelCharacter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
         c == '_';
}

}  // namespace

bool IsChannelName(const std::string& name) {
  if (name.empty() || name.size() > kLongestChannelName) return false;
  for (char c : name)
    if (!IsChannelCharacter(c)) return false;
  return true;
}

std::string ChooseChannel(const LauncherRequest& request, LauncherSystem& system) {
  // The administrator's channel (checked when the policy was read) replaces both.
  if (const std::optional<std::string>& policyChannel = system.Policy().channel)
    return *policyChannel;
  const bool fromRequest = request.hasChannel;
  const std::string channel = fromRequest ? request.channel : system.ChannelSetting();
  if (channel.empty() || IsChannelName(channel)) return channel;
  system.Log(Format("%s '%s' not used (a channel is 1 to 32 of A-Z a-z 0-9 - _): no channel",
                    fromRequest ? "Channel" : "CHANNEL", channel.c_str()));
  return std::string();
}

std::string ChooseProgramSection(const LauncherRequest& request, LauncherSystem& system) {
  const std::string channel = ChooseChannel(request, system);
  if (channel.empty()) return request.programId;
  const std::string channelSection = request.programId + "@" + channel;
  const bool listed = system.VersionFileHasSection(channelSection);
  system.Log(Format("channel %s: reading [%s]", channel.c_str(),
                    (listed ? channelSection : request.programId).c_str()));
  return listed ? channelSection : request.programId;
}
