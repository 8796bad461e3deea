// Shapes of temporary file names and the room they need.
#include "env/temp_name.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/common/code_page_scope.h"

namespace {

TEST(TempNameShape, CandidatesAreTwoDigitsAndFiveHexDigits) {
  const struct {
    const char* shows;
    int attempt;
    unsigned tick;
    const char* expected;
  } cases[] = {
      {"first attempt", 0, 0x12345, "C:\\tmp\\t0012345.tmp"},
      {"last attempt", 99, 0x12345, "C:\\tmp\\t9912345.tmp"},
      {"lowercase hex, zero-padded", 7, 0xabc, "C:\\tmp\\t0700abc.tmp"},
      {"largest remainder", 1, 0xFFFFE, "C:\\tmp\\t01ffffe.tmp"},
      {"modulus is 0xFFFFF", 1, 0xFFFFF, "C:\\tmp\\t0100000.tmp"},
      {"0x100000 leaves 1", 1, 0x100000, "C:\\tmp\\t0100001.tmp"},
      {"a tick count about to wrap", 2, 0xFFFFFFFFu, "C:\\tmp\\t0200fff.tmp"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.expected, FormatTempCandidate("C:\\tmp\\", c.attempt, c.tick)) << c.shows;
  }
  EXPECT_EQ(kTempCandidateLength, FormatTempCandidate("", 42, 0x54321).size());
}

TEST(TempNameBase, TrailingBackslashAppendedOnlyWhenMissing) {
  EXPECT_EQ("C:\\dir\\", WithTrailingBackslash("C:\\dir"));
  EXPECT_EQ("C:\\dir\\", WithTrailingBackslash("C:\\dir\\"));
  EXPECT_EQ("C:\\", WithTrailingBackslash("C:\\"));
  EXPECT_EQ("C:\\dir\\\\", WithTrailingBackslash("C:\\dir\\\\")) << "never removes any";
  EXPECT_EQ("\\", WithTrailingBackslash(""));
}

TEST(TempNameBaseCp932, TrailByteBackslashIsNotAnEnding) {
  CodePageScope scope(932);
  EXPECT_EQ("C:\\\x95\x5c\\", WithTrailingBackslash("C:\\\x95\x5c"));
  EXPECT_EQ("C:\\\x95\x5c\\", WithTrailingBackslash("C:\\\x95\x5c\\"));
}

TEST(TempNameBase, CandidateMustFitThe260CharacterBuffer) {
  // base + 12 characters + the terminating zero must fit 260.
  EXPECT_TRUE(TempCandidateFits(std::string(247, 'a')));
  EXPECT_FALSE(TempCandidateFits(std::string(248, 'a')));
  EXPECT_FALSE(TempCandidateFits(std::string(5000, 'a')));
  EXPECT_TRUE(TempCandidateFits(""));
  std::string longest = FormatTempCandidate(std::string(247, 'a'), 99, 0xFFFFE);
  EXPECT_EQ(kTempNameBufferSize - 1, longest.size());
}

}  // namespace
