// The installer's expected size and digest against what was downloaded: which files pass,
// what a malformed key means, and the log line naming the failed check.
#include "download/installer_check.h"

#include <gtest/gtest.h>

namespace {

// SHA-256 of "abc", and the same with its last bit flipped.
const char kAbcDigest[] = "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad";
const char kAbcDigestUpper[] = "BA7816BF8F01CFEA414140DE5DAE2223B00361A396177A9CB410FF61F20015AD";
const char kAbcDigestOneBitOff[] =
    "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ac";

Sha256Digest AbcDigest() {
  Sha256Digest digest{};
  EXPECT_TRUE(ParseSha256Hex(kAbcDigest, digest));
  return digest;
}

TEST(InstallerCheck, SizeMatchesOnlyTheExactByteCount) {
  struct Row {
    const char* downSize;
    int64_t received;
    const char* failure;  // "" = passes
  };
  const Row rows[] = {
      {"", 12345, ""},  // no DOWN_SIZE: not checked
      {"1000", 1000, ""},
      {"0001000", 1000, ""},  // leading zeros are still a byte count
      {"1000", 999, "installer check failed: size: expected 1000 bytes, received 999 bytes"},
      {"1000", 1001, "installer check failed: size: expected 1000 bytes, received 1001 bytes"},
      {"-1000", 1000, "installer check failed: size: expected -1000 bytes, received 1000 bytes"},
      {"10x", 10, "installer check failed: size: expected 10x bytes, received 10 bytes"},
      {"1000000000000000000", 0,  // 19 digits: beyond what is read
       "installer check failed: size: expected 1000000000000000000 bytes, received 0 bytes"},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(row.failure, CheckInstallerSize({row.downSize, ""}, row.received)) << row.downSize;
  }
}

TEST(InstallerCheck, SizeLimitOfTheTransferAndTheProgressTotal) {
  struct Row {
    const char* downSize;
    int64_t limit, expected;
    const char* shows;
  };
  const Row rows[] = {
      {"", -1, -1, "no DOWN_SIZE: no limit, no total"},
      {"4096", 4096, 4096, "a byte count is both"},
      {"4k", 0, -1, "malformed: nothing may be stored, no total"},
      {"999999999999999999", 999999999999999999, 999999999999999999, "18 digits"},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(row.limit, InstallerSizeLimit({row.downSize, ""})) << row.shows;
    EXPECT_EQ(row.expected, InstallerExpectedSize({row.downSize, ""})) << row.shows;
  }
}

TEST(InstallerCheck, DigestMatchesEitherCaseAndAnythingMalformedIsAMismatch) {
  const std::string received = std::string(", received ") + kAbcDigest;
  struct Row {
    std::string downSha256;
    bool passes;
    const char* shows;
  };
  const Row rows[] = {
      {"", true, "no DOWN_SHA256: not checked"},
      {kAbcDigest, true, "lower case"},
      {kAbcDigestUpper, true, "upper case"},
      {kAbcDigestOneBitOff, false, "one bit off"},
      {std::string(kAbcDigest).substr(0, 63), false, "63 digits"},
      {std::string(kAbcDigest) + "0", false, "65 digits"},
      {std::string(kAbcDigest).substr(0, 63) + "g", false, "a non-hex digit"},
      {" " + std::string(kAbcDigest), false, "a blank in front"},
  };
  for (const Row& row : rows) {
    const std::string failure = CheckInstallerDigest({"", row.downSha256}, AbcDigest());
    if (row.passes) {
      EXPECT_EQ("", failure) << row.shows;
    } else {
      EXPECT_EQ("installer check failed: SHA-256: expected " + row.downSha256 + received, failure)
          << row.shows;
    }
  }
}

TEST(InstallerCheck, StoppedTransferNamesTheBytesOffered) {
  EXPECT_EQ(
      "installer check failed: size: expected 4096 bytes, received at least 14336 bytes "
      "(transfer stopped)",
      InstallerSizeExceeded({"4096", ""}, 14336));
}

}  // namespace
