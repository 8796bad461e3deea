#include "transfer/web_request_win.h"

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "transfer/web_address.h"

namespace {

// A response header as text of any length; false when the response does not carry it.
bool QueryHeader(HINTERNET request, DWORD query, std::string& value) {
  std::vector<char> text(256);
  for (;;) {
    DWORD length = static_cast<DWORD>(text.size());
    if (::HttpQueryInfoA(request, query, text.data(), &length, nullptr)) {
      value.assign(text.data(), length);
      return true;
    }
    if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER) return false;
    text.resize(length + 1);
  }
}

// The Location of a redirect made absolute against the address that answered it.
bool ResolveLocation(const std::string& base, const std::string& location, std::string& target) {
  std::vector<char> text(1024);
  for (;;) {
    DWORD length = static_cast<DWORD>(text.size());
    if (::InternetCombineUrlA(base.c_str(), location.c_str(), text.data(), &length, 0)) {
      target.assign(text.data(), length);
      return true;
    }
    if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER || length < text.size()) return false;
    text.resize(length + 1);
  }
}

}  // namespace

// Wine 8 honours INTERNET_FLAG_NO_AUTO_REDIRECT in InternetOpenUrlA (measured): the redirect
// itself comes back, with its status and Location, and the engine decides.
UniqueInternetHandle OpenWebRequest(HINTERNET session, const char* url, const char* headers,
                                    DWORD flags) {
  const DWORD headersLength = headers ? static_cast<DWORD>(std::strlen(headers)) : 0;
  std::string address = url;
  for (int hopsFollowed = 0;; ++hopsFollowed) {
    UniqueInternetHandle request(::InternetOpenUrlA(session, address.c_str(), headers,
                                                    headersLength,
                                                    flags | INTERNET_FLAG_NO_AUTO_REDIRECT, 0));
    if (!request) return request;
    std::string status, location;
    if (!QueryHeader(request.get(), HTTP_QUERY_STATUS_CODE, status) ||
        !IsRedirectStatus(std::atoi(status.c_str())) ||
        !QueryHeader(request.get(), HTTP_QUERY_LOCATION, location)) {
      return request;
    }
    std::string next;
    if (!ResolveLocation(address, location, next) ||
        JudgeRedirect(address, next, hopsFollowed) != RedirectVerdict::Follow) {
      return UniqueInternetHandle();
    }
    address = next;
  }
}
