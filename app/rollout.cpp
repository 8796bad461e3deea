#include "app/rollout.h"

#include <cstdint>

#include "app/install_id.h"
#include "common/format.h"
#include "common/sha256.h"

namespace {

constexpr int kWholeShare = 100;

// Installed version below the floor, compared as plain numbers, major first (whatever
// CheckMinorVersion says: the floor names an exact release).
bool IsBelowFloor(const InstalledProgramInfo& info, int floorVersion, int floorMinorVersion) {
  if (info.LocalVersion != floorVersion) return info.LocalVersion < floorVersion;
  return info.LocalMinorVersion < floorMinorVersion;
}

}  // namespace

std::optional<int> ParseRolloutShare(const std::string& text) {
  if (text.empty()) return kWholeShare;
  int share = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    share = share * 10 + (c - '0');
    if (share > kWholeShare) return std::nullopt;  // also keeps a long text from overflowing
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

bool IsUpdateOffered(const std::string& programId, const std::string& section,
                     const InstalledProgramInfo& info, LauncherSystem& system) {
  const std::string rollout = system.VersionFileString(section, "ROLLOUT");
  if (rollout.empty()) return true;
  const std::optional<int> share = ParseRolloutShare(rollout);
  const int floorVersion = system.VersionFileInt(section, "MIN_VERSION");
  const int floorMinorVersion = system.VersionFileInt(section, "MIN_MINORVERSION");
  const bool belowFloor = IsBelowFloor(info, floorVersion, floorMinorVersion);

  std::string installId, why;
  std::optional<int> bucket;
  if (ObtainInstallId(system, installId, why))
    bucket = RolloutBucket(installId, programId, info.ServerVersion, info.ServerMinorVersion);

  const bool offered =
      belowFloor || (share && *share == kWholeShare) || (share && bucket && *bucket < *share);
  std::string reason;
  if (!share) reason += " (not a whole number 0 to 100: offered to nobody)";
  reason += bucket ? Format(", bucket %d", *bucket) : ", no bucket (" + why + ")";
  if (belowFloor)
    reason += Format(", installed %d.%d below MIN_VERSION %d.%d", info.LocalVersion,
                     info.LocalMinorVersion, floorVersion, floorMinorVersion);
  system.Log(Format("rollout %s %d.%d: ROLLOUT=%s%s: %s", programId.c_str(), info.ServerVersion,
                    info.ServerMinorVersion, rollout.c_str(), reason.c_str(),
                    offered ? "offered" : "not offered"));
  return offered;
}
