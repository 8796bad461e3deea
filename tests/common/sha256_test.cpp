// The portable SHA-256 against published vectors and against lengths on each side of the
// padding's seams (55/56 bytes: the length still fits the last block or needs another one;
// 63/64 and 119/120 likewise one block later), whose digests came from sha256sum.
#include "common/sha256.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(PortableSha256, MatchesPublishedVectorsAndEveryPaddingSeam) {
  const struct {
    const char* why;
    std::string input;
    const char* digest;
  } rows[] = {
      {"empty", "", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
      {"abc", "abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
      {"FIPS two-block message", "abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
       "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
      {"55 a: length fits the block", std::string(55, 'a'),
       "9f4390f8d30c2dd92ec9f095b65e2b9ae9b0a925a5258e241c9f1e910f734318"},
      {"56 a: length needs a second block", std::string(56, 'a'),
       "b35439a4ac6f0948b6d6f9e3c6af0f5f590ce20f1bde7090ef7970686ec6738a"},
      {"63 a", std::string(63, 'a'),
       "7d3e74a05d7db15bce4ad9ec0658ea98e3f06eeecf16b4c6fff2da457ddc2f34"},
      {"64 a: one whole block", std::string(64, 'a'),
       "ffe054fe7ae0cb6dc65c3af9b61d5209f439851db43d0ba5997337df154668eb"},
      {"119 a", std::string(119, 'a'),
       "31eba51c313a5c08226adf18d4a359cfdfd8d2e816b13f4af952f7ea6584dcfb"},
      {"120 a", std::string(120, 'a'),
       "2f3d335432c70b580af0e8e1b3674a7c020d683aa5f73aaaedfdc55af904c21c"},
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
