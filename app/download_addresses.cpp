#include "app/download_addresses.h"

#include <algorithm>

std::vector<std::string> NumberedAddresses(
    const std::string& first, const std::string& key,
    const std::function<std::string(const std::string& key)>& read) {
  std::vector<std::string> addresses;
  for (int number = 1; number <= kMostAddresses; ++number) {
    const std::string address = number == 1 ? first : read(key + "_" + std::to_string(number));
    if (!address.empty() &&
        std::find(addresses.begin(), addresses.end(), address) == addresses.end())
      addresses.push_back(address);
  }
  return addresses;
}

std::vector<std::string> ChooseVersionFileAddresses(const UpdatePolicy& policy,
                                                    const std::string& requestUrl,
                                                    const std::vector<std::string>& iniAddresses) {
  const bool requestCounts = !requestUrl.empty() &&
                             (policy.versionFileUrl.empty() || policy.allowRequestUrl);
  if (requestCounts) return {requestUrl};
  if (!policy.versionFileUrl.empty()) return {policy.versionFileUrl};
  return iniAddresses;
}
