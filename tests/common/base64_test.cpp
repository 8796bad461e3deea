#include "common/base64.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(Base64, DecodesWhatEncodeWritesForEveryPaddingLength) {
  const struct {
    std::string bytes;
    const char* text;
  } rows[] = {
      {"", ""},        {"f", "Zg=="},        {"fo", "Zm8="},
      {"foo", "Zm9v"}, {"foob", "Zm9vYg=="}, {std::string("\0\xFF\xFE", 3), "AP/+"},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(row.text, EncodeBase64(row.bytes));
    std::string decoded = "stale";
    ASSERT_TRUE(DecodeBase64(row.text, decoded)) << row.text;
    EXPECT_EQ(row.bytes, decoded);
  }
}

TEST(Base64, MalformedTextIsRefusedAndLeavesTheBytesAlone) {
  const struct {
    const char* why;
    std::string text;
  } rows[] = {
      {"padding missing", "Zg"},
      {"length not a multiple of four", "Zm9vY"},
      {"three padding characters", "Z==="},
      {"padding in the middle", "Zg==Zm8="},
      {"padding before a digit", "Zm=v"},
      {"leftover bits not zero (Zh== would also read as f)", "Zh=="},
      {"leftover bits not zero with one pad", "Zm9="},
      {"URL-safe alphabet", "AP_-"},
      {"line break inside", "Zm9v\nZm9v"},
      {"blank inside", "Zm9v Zm9v"},
      {"NUL inside", std::string("Zm\0v", 4)},
      {"byte above 0x7F", "Zm9\xC3"},
  };
  for (const auto& row : rows) {
    std::string bytes = "stale";
    EXPECT_FALSE(DecodeBase64(row.text, bytes)) << row.why;
    EXPECT_EQ("stale", bytes) << row.why;
  }
}

}  // namespace
