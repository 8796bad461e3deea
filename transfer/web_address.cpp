#include "transfer/web_address.h"

#include "common/text.h"

namespace {

bool StartsWithNoCase(const std::string& text, const char* prefix) {
  const std::string head(prefix);
  return text.size() >= head.size() && EqualsNoCase(text.substr(0, head.size()), head);
}

}  // namespace

bool IsWebAddress(const std::string& url) {
  return StartsWithNoCase(url, "http://") || StartsWithNoCase(url, "https://");
}

bool IsSecureWebAddress(const std::string& url) {
  return StartsWithNoCase(url, "https://");
}

bool IsRedirectStatus(int status) {
  return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

RedirectVerdict JudgeRedirect(const std::string& from, const std::string& to, int hopsFollowed) {
  if (hopsFollowed >= kMaxRedirects) return RedirectVerdict::TooManyHops;
  if (!IsWebAddress(to)) return RedirectVerdict::NotAWebAddress;
  if (IsSecureWebAddress(from) && !IsSecureWebAddress(to)) return RedirectVerdict::Downgrade;
  return RedirectVerdict::Follow;
}
