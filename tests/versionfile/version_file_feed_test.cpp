// What bounds a signed download besides its signature, with real P-256 signatures (OpenSSL,
// as the vendor's tool makes them): the feed the launcher INI names (FEED_ID), and the local
// copy's ISSUED, which counts only when the copy itself verifies for that feed.
#include <gtest/gtest.h>

#include <string>

#include "tests/versionfile/signing_vendor.h"
#include "versionfile/version_file_trust.h"

namespace {

using signing_test::kIssued;
using signing_test::kNow;
using signing_test::Vendor;

TEST(VersionFileFeed, TheFeedAndAVerifiedLocalCopyBoundADownload) {
  const Vendor vendor;
  const Vendor stranger;
  const std::string prod = "FEED_ID=prod\r\n";
  const std::string staging = "FEED_ID=staging\r\n";
  const uint64_t later = kIssued + 1000;
  const char* const unbound = nullptr;
  const struct {
    const char* what;
    std::string download;
    std::string localCopy;
    const char* iniFeedId;  // FEED_ID of the launcher INI, nullptr for none
    bool hasFloor;
    VersionFileVerdict verdict;
    const char* reason;  // the log's words, "" when not checked
  } rows[] = {
      {"an unsigned copy claiming the highest ISSUED sets no bound", vendor.Sign(""),
       Vendor::Unsigned("", 18446744073709551615ull), unbound, false, VersionFileVerdict::Accepted,
       ""},
      {"a copy of another key claiming a later ISSUED sets no bound", vendor.Sign(""),
       stranger.Sign("", later), unbound, false, VersionFileVerdict::Accepted, ""},
      {"an edited copy sets no bound", vendor.Sign(""), vendor.Sign("", later).replace(0, 1, " "),
       unbound, false, VersionFileVerdict::Accepted, ""},
      {"a verified copy with a later ISSUED still does", vendor.Sign(""), vendor.Sign("", later),
       unbound, false, VersionFileVerdict::OlderIssued, ""},
      {"a copy signed for another feed sets no bound", vendor.Sign(prod),
       vendor.Sign(staging, later), "prod", false, VersionFileVerdict::Accepted, ""},
      {"a copy of this feed does", vendor.Sign(prod), vendor.Sign(prod, later), "prod", false,
       VersionFileVerdict::OlderIssued, ""},
      {"no FEED_ID in the INI: the file's own is not looked at", vendor.Sign(staging), "", unbound,
       false, VersionFileVerdict::Accepted, ""},
      {"the feed named", vendor.Sign(prod), "", "prod", false, VersionFileVerdict::Accepted, ""},
      {"another feed", vendor.Sign(staging), "", "prod", false, VersionFileVerdict::OtherFeed,
       "feed FEED_ID staging, expected prod"},
      {"no FEED_ID in the file", vendor.Sign(""), "", "prod", false, VersionFileVerdict::OtherFeed,
       "feed FEED_ID missing, expected prod"},
      {"names compare with case", vendor.Sign("FEED_ID=Prod\r\n"), "", "prod", false,
       VersionFileVerdict::OtherFeed, "feed FEED_ID Prod, expected prod"},
      {"FEED_ID after the signature is not signed", vendor.Sign("") + "[GENERAL]\r\n" + prod, "",
       "prod", false, VersionFileVerdict::NoSignature, ""},
      {"another feed is named before the floor is compared", vendor.Sign(staging), "", "prod", true,
       VersionFileVerdict::OtherFeed, ""},
      {"an empty FEED_ID in the INI refuses every file", vendor.Sign("FEED_ID=\r\n"), "", "", false,
       VersionFileVerdict::MalformedFeedId, "malformed FEED_ID in the launcher INI"},
  };
  for (const auto& row : rows) {
    VersionFileBounds bounds;
    bounds.now = kNow;
    bounds.hasFloor = row.hasFloor;
    bounds.floor = later;
    bounds.hasFeedId = row.iniFeedId != nullptr;
    if (row.iniFeedId) bounds.feedId = row.iniFeedId;
    OpenSslVerifier verifier;
    const VersionFileCheck check =
        CheckSignedVersionFile(row.download, vendor.publicKey, row.localCopy, bounds, verifier);
    EXPECT_EQ(static_cast<int>(row.verdict), static_cast<int>(check.verdict)) << row.what;
    if (*row.reason) {
      EXPECT_EQ(row.reason, DescribeVersionFileCheck(check)) << row.what;
    }
    // The copy at use is held to the same feed.
    if (row.localCopy.empty() && row.verdict != VersionFileVerdict::NoSignature) {
      const VersionFileCheck atUse =
          CheckLocalVersionFile(row.download, vendor.publicKey, bounds, verifier);
      EXPECT_EQ(static_cast<int>(row.verdict), static_cast<int>(atUse.verdict))
          << row.what << ": at use";
    }
  }
}

}  // namespace
