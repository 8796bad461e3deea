#include "common/hex_digest.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const std::string kAbcLower = "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad";

TEST(HexDigest, ParsesBothCasesAndFormatsLowerCase) {
  std::string upper = kAbcLower;
  for (char& c : upper) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
  for (const std::string& text : {kAbcLower, upper}) {
    Sha256Digest digest{};
    ASSERT_TRUE(ParseSha256Hex(text, digest)) << text;
    EXPECT_EQ(0xBA, digest[0]);
    EXPECT_EQ(0xAD, digest[31]);
    EXPECT_EQ(kAbcLower, FormatSha256Hex(digest));
  }
}

TEST(HexDigest, MalformedTextIsRefusedAndLeavesTheDigestAlone) {
  const struct {
    const char* why;
    std::string text;
  } rows[] = {
      {"empty", ""},
      {"63 digits", kAbcLower.substr(1)},
      {"65 digits", kAbcLower + "0"},
      {"non-hex letter", "g" + kAbcLower.substr(1)},
      {"blank inside", kAbcLower.substr(0, 10) + " " + kAbcLower.substr(11)},
      {"trailing blank", kAbcLower.substr(1) + " "},
      {"embedded zero byte", kAbcLower.substr(0, 5) + std::string(1, '\0') + kAbcLower.substr(6)},
      {"high byte", "\xB0" + kAbcLower.substr(1)},
  };
  for (const auto& row : rows) {
    Sha256Digest digest{};
    digest.fill(0x5A);
    EXPECT_FALSE(ParseSha256Hex(row.text, digest)) << row.why;
    EXPECT_EQ(0x5A, digest[0]) << row.why;
    EXPECT_EQ(0x5A, digest[31]) << row.why;
  }
}

}  // namespace
