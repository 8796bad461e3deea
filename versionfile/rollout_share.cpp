#include "versionfile/rollout_share.h"

#include <cstdint>

#include "common/format.h"
#include "common/sha256.h"

namespace {

constexpr size_t kInstallIdBytes = 16;

}  // namespace

std::optional<int> ParseRolloutShare(const std::string& text) {
  if (text.empty()) return kWholeRolloutShare;
  int share = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    share = share * 10 + (c - '0');
    // Checked at every digit: this also keeps a long text from overflowing.
    if (share > kWholeRolloutShare) return std::nullopt;
  }
  return share;
}

int RolloutBucket(const std::string& installId, const std::string& programId, int version,
                  int minorVersion) {
  const Sha256Digest digest =
      Sha256Of(Format("%s:%s:%d.%d", installId.c_str(), programId.c_str(), version, minorVersion));
  const uint32_t head = uint32_t{digest[0]} << 24 | uint32_t{digest[1]} << 16 |
                        uint32_t{digest[2]} << 8 | uint32_t{digest[3]};
  return static_cast<int>(head % 100);
}

bool IsInstallIdShape(const std::string& id) {
  if (id.size() != 2 * kInstallIdBytes) return false;
  for (char c : id)
    if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
  return true;
}
