#include "app/rollout.h"

#include "app/install_id.h"
#include "common/format.h"
#include "versionfile/rollout_share.h"

namespace {

// Installed version below the floor, compared as plain numbers, major first (whatever
// CheckMinorVersion says: the floor names an exact release).
bool IsBelowFloor(const InstalledProgramInfo& info, int floorVersion, int floorMinorVersion) {
  if (info.LocalVersion != floorVersion) return info.LocalVersion < floorVersion;
  return info.LocalMinorVersion < floorMinorVersion;
}

}  // namespace

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
      belowFloor || (share && *share == kWholeRolloutShare) || (share && bucket && *bucket < *share);
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
