// Which addresses the launcher fetches and which redirects it follows: only http:// and
// https://, never a step down from https:// to http://, and a bounded number of hops.
// Portable; the engine and the commands that read URLs from files both use it.
#pragma once

#include <string>

// At most this many redirects are followed for one transfer; one more fails it.
constexpr int kMaxRedirects = 10;

// The address starts with "http://" or "https://", in any letter case. Anything else (file:,
// ftp:, a name without a scheme, leading blanks) is refused before any request is made.
bool IsWebAddress(const std::string& url);

// The address starts with "https://", in any letter case.
bool IsSecureWebAddress(const std::string& url);

// Statuses that send the client on to the Location header's address.
bool IsRedirectStatus(int status);

enum class RedirectVerdict {
  Follow,
  NotAWebAddress,  // the new address is not http:// or https://
  Downgrade,       // from https:// to http://
  TooManyHops,     // this would be hop kMaxRedirects + 1
};

// Whether the redirect from `from` to `to` may be followed when `hopsFollowed` redirects of
// this transfer have already been followed.
RedirectVerdict JudgeRedirect(const std::string& from, const std::string& to, int hopsFollowed);
