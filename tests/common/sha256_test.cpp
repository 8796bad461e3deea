// The portable SHA-256 against the published vectors (the two-block one is 56 bytes: its
// length no longer fits the last block) and bytes above 0x7F (from sha256sum). The Windows
// tests compare it with BCrypt's on every length up to 320.
#include "common/sha256.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(PortableSha256, MatchesPublishedVectors) {
  const struct {
    const char* why;
    std::string input;
    const char* digest;
  } rows[] = {
      {"abc", "abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
      {"FIPS two-block message", "abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
       "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
      {"a million a", std::string(1000000, 'a'),
       "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
      // A signed char must not carry its sign into the message schedule.
      {"bytes above 0x7F and a zero byte", std::string("\xff\x80\x00\x01", 4),
       "535afb944f30361a11dd2dd2570cc65f428665bec07b56d82ac73c1bba6935cb"},
  };
  for (const auto& row : rows)
    EXPECT_EQ(row.digest, FormatSha256Hex(Sha256Of(row.input))) << row.why;
}

}  // namespace
