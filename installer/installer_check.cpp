#include "installer/installer_check.h"

#include "common/format.h"

namespace {

// 18 decimal digits always fit a signed 64-bit count.
constexpr size_t kMaxSizeDigits = 18;

}  // namespace

bool ParseInstallerSize(const std::string& text, int64_t& size) {
  if (text.empty() || text.size() > kMaxSizeDigits) return false;
  int64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  size = value;
  return true;
}

int64_t InstallerSizeLimit(const InstallerExpectation& expectation) {
  if (expectation.size.empty()) return -1;
  int64_t size = 0;
  return ParseInstallerSize(expectation.size, size) ? size : 0;
}

int64_t InstallerExpectedSize(const InstallerExpectation& expectation) {
  int64_t size = 0;
  return ParseInstallerSize(expectation.size, size) ? size : -1;
}

std::string CheckInstallerSize(const InstallerExpectation& expectation, int64_t size) {
  if (expectation.size.empty()) return std::string();
  int64_t expected = 0;
  if (ParseInstallerSize(expectation.size, expected) && expected == size) return std::string();
  return Format("installer check failed: size: expected %s bytes, received %lld bytes",
                expectation.size.c_str(), static_cast<long long>(size));
}

std::string InstallerSizeExceeded(const InstallerExpectation& expectation, int64_t offered) {
  return Format(
      "installer check failed: size: expected %s bytes, received at least %lld bytes "
      "(transfer stopped)",
      expectation.size.c_str(), static_cast<long long>(offered));
}

std::string CheckInstallerDigest(const InstallerExpectation& expectation,
                                 const Sha256Digest& digest) {
  if (expectation.sha256.empty()) return std::string();
  Sha256Digest expected{};
  if (ParseSha256Hex(expectation.sha256, expected) && expected == digest) return std::string();
  return Format("installer check failed: SHA-256: expected %s, received %s",
                expectation.sha256.c_str(), FormatSha256Hex(digest).c_str());
}
