// The decision on the local copy of a signed version file at the moment of use, with real
// P-256 signatures (OpenSSL, as the vendor's tool makes them): whether the copy verifies
// (signature, keys, ZULAUNCHER_VERSION, the highest ISSUED accepted, EXPIRES) and whether it is
// then due for a refresh by its stamp.
#include <gtest/gtest.h>

#include <string>

#include "tests/versionfile/signing_vendor.h"
#include "versionfile/version_file_trust.h"
#include "versionfile/version_refresh.h"

namespace {

using signing_test::kIssued;
using signing_test::kNow;
using signing_test::Vendor;

std::string Edited(std::string file) {
  file.replace(file.find("http://vendor/"), 14, "http://evil.x/");
  return file;
}

TEST(VersionFileAtRest, TheCopyIsUsedOnlyWhenItVerifiesAndIsDueByItsStampOtherwise) {
  const Vendor vendor;
  const Vendor stranger;
  const std::string plain = vendor.Sign("");
  const std::string endsLater = vendor.Sign("EXPIRES=" + std::to_string(kNow + 1) + "\r\n");
  const std::string endsNow = vendor.Sign("EXPIRES=" + std::to_string(kNow) + "\r\n");
  const std::string ended = vendor.Sign("EXPIRES=" + std::to_string(kNow - 1) + "\r\n");
  const int64_t fresh = kNow - 3600;
  const int64_t stale = kNow - 4 * 3600;
  const struct {
    const char* what;
    std::string copy;
    bool hasFloor;
    uint64_t floor;
    int64_t stamp;
    VersionFileVerdict verdict;
    bool due;
  } rows[] = {
      {"signed, fresh stamp", plain, false, 0, fresh, VersionFileVerdict::Accepted, false},
      {"signed, stale stamp", plain, false, 0, stale, VersionFileVerdict::Accepted, true},
      {"signed, stamp ahead of the clock", plain, false, 0, kNow + 4 * 3600,
       VersionFileVerdict::Accepted, true},
      {"edited after the download, fresh stamp", Edited(plain), false, 0, fresh,
       VersionFileVerdict::NotSignedByListedKey, true},
      {"another key's file, fresh stamp", stranger.Sign(""), false, 0, fresh,
       VersionFileVerdict::NotSignedByListedKey, true},
      {"unsigned, fresh stamp", plain.substr(0, plain.find("[SIGNATURE]")), false, 0, fresh,
       VersionFileVerdict::NoSignature, true},
      {"missing copy", "", false, 0, fresh, VersionFileVerdict::NoSignature, true},
      {"ISSUED equal to the floor", plain, true, kIssued, fresh, VersionFileVerdict::Accepted,
       false},
      {"ISSUED below the floor (an older copy put back)", plain, true, kIssued + 1, fresh,
       VersionFileVerdict::BelowFloor, true},
      {"EXPIRES ahead", endsLater, false, 0, fresh, VersionFileVerdict::Accepted, false},
      {"EXPIRES this very second", endsNow, false, 0, fresh, VersionFileVerdict::Accepted, false},
      {"EXPIRES past", ended, false, 0, fresh, VersionFileVerdict::Expired, true},
      {"EXPIRES not a number", vendor.Sign("EXPIRES=soon\r\n"), false, 0, fresh,
       VersionFileVerdict::NoExpires, true},
      {"EXPIRES empty", vendor.Sign("EXPIRES=\r\n"), false, 0, fresh, VersionFileVerdict::NoExpires,
       true},
  };
  for (const auto& row : rows) {
    VersionFileBounds bounds;
    bounds.hasFloor = row.hasFloor;
    bounds.floor = row.floor;
    bounds.now = kNow;
    OpenSslVerifier verifier;
    const VersionFileCheck check =
        CheckLocalVersionFile(row.copy, vendor.publicKey, bounds, verifier);
    EXPECT_EQ(static_cast<int>(row.verdict), static_cast<int>(check.verdict)) << row.what;
    const bool verified = check.verdict == VersionFileVerdict::Accepted;
    EXPECT_EQ(row.due, IsLocalCopyDue(verified, kNow, row.stamp, 0)) << row.what;
    EXPECT_TRUE(IsLocalCopyDue(verified, kNow, row.stamp, 1)) << row.what << ": ForceCheck";
  }
}

TEST(VersionFileAtRest, ExpiresHasTheFormOfIssued) {
  const struct {
    const char* file;
    bool wellFormed;
    bool present;
    uint64_t expires;
  } rows[] = {
      {"[GENERAL]\nISSUED=1\n", true, false, 0},
      {"[GENERAL]\nEXPIRES=1800000000\n", true, true, 1800000000},
      {"[GENERAL]\nEXPIRES = 42 \n", true, true, 42},
      {"[GENERAL]\nEXPIRES=18446744073709551616\n", false, true, 0},
      {"[GENERAL]\nEXPIRES=-1\n", false, true, 0},
      {"[OTHER]\nEXPIRES=5\n", true, false, 0},
  };
  for (const auto& row : rows) {
    uint64_t expires = 0;
    bool present = false;
    EXPECT_EQ(row.wellFormed, ReadExpires(row.file, expires, present)) << row.file;
    EXPECT_EQ(row.present, present) << row.file;
    if (row.wellFormed && row.present) {
      EXPECT_EQ(row.expires, expires) << row.file;
    }
  }
}

}  // namespace
