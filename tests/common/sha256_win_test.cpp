#include "common/sha256_win.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "common/sha256.h"
#include "common/unique_handle_win.h"

namespace {

// Published test vectors (FIPS 180-2) and one input larger than the file reader's buffer.
struct Vector {
  const char* why;
  std::string input;
  const char* digest;
};

const Vector kVectors[] = {
    {"empty", "", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
    {"abc", "abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
    {"two blocks", "abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
     "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
    {"a million a", std::string(1000000, 'a'),
     "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
    {"past one read buffer", std::string(3 * 1048576 + 7, 'a'), nullptr},
};

TEST(Sha256, BytesMatchPublishedVectors) {
  for (const Vector& vector : kVectors) {
    if (!vector.digest) continue;
    Sha256Digest digest{};
    ASSERT_TRUE(HashBytesSha256(vector.input, digest)) << vector.why;
    EXPECT_EQ(vector.digest, FormatSha256Hex(digest)) << vector.why;
  }
}

// The portable digest (the rollout bucket's) and the provider's agree on every length across
// the first five blocks, with every byte value in play.
TEST(Sha256, PortableDigestEqualsTheProvidersOnEveryLengthUpTo320) {
  std::string input;
  for (size_t length = 0; length <= 320; ++length) {
    Sha256Digest provider{};
    ASSERT_TRUE(HashBytesSha256(input, provider)) << length;
    EXPECT_EQ(FormatSha256Hex(provider), FormatSha256Hex(Sha256Of(input))) << length;
    input += static_cast<char>(length * 37 + 11);
  }
}

TEST(Sha256, FileDigestEqualsBytesDigest) {
  char directory[MAX_PATH];
  ASSERT_NE(0u, ::GetTempPathA(MAX_PATH, directory));
  const std::string path = std::string(directory) + "zu_sha256_test.bin";
  for (const Vector& vector : kVectors) {
    {
      UniqueFileHandle file(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                          FILE_ATTRIBUTE_NORMAL, nullptr));
      ASSERT_TRUE(file) << vector.why;
      DWORD written = 0;
      ASSERT_TRUE(::WriteFile(file.get(), vector.input.data(),
                              static_cast<DWORD>(vector.input.size()), &written, nullptr));
    }
    UniqueFileHandle file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(file) << vector.why;
    Sha256Digest fromFile{}, fromBytes{};
    ASSERT_TRUE(HashFileSha256(file.get(), fromFile)) << vector.why;
    ASSERT_TRUE(HashBytesSha256(vector.input, fromBytes)) << vector.why;
    EXPECT_EQ(FormatSha256Hex(fromBytes), FormatSha256Hex(fromFile)) << vector.why;
  }
  ::DeleteFileA(path.c_str());
}

TEST(Sha256, FinishedDigestTakesNoMoreInput) {
  Sha256 hash;
  ASSERT_TRUE(hash.IsReady());
  Sha256Digest digest{};
  ASSERT_TRUE(hash.Finish(digest));
  EXPECT_FALSE(hash.Update("x", 1));
  EXPECT_FALSE(hash.Finish(digest));
}

}  // namespace
