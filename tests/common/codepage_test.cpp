#include "common/codepage.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/common/code_page_scope.h"

namespace {

TEST(LeadBytes, FollowTheActiveCodePage) {
  struct Case {
    unsigned codePage;
    unsigned char byte;
    bool lead;
  };
  const Case cases[] = {
      {932, 0x81, true}, {932, 0x9F, true}, {932, 0xA0, false}, {932, 0xB1, false},
      {932, 0xE0, true}, {932, 0xFC, true}, {932, 0xFD, false}, {932, 0x5C, false},
      {949, 0x80, false}, {949, 0x81, true}, {949, 0xC7, true},  {949, 0xFE, true},
      {949, 0xFF, false}, {949, 0x41, false}, {1251, 0xC0, false}, {1252, 0x95, false},
  };
  for (const Case& c : cases) {
    CodePageScope scope(c.codePage);
    EXPECT_EQ(c.lead, IsLeadByte(c.byte)) << c.codePage << " byte " << int(c.byte);
  }
}

struct ConversionCase {
  const char* what;
  unsigned codePage;
  std::string utf8;
  std::string ansi;
};

TEST(Utf8ToAnsi, ConvertsIntoTheActiveCodePage) {
  const ConversionCase cases[] = {
      {"Korean in 949", 949, "\xED\x95\x9C\xEA\xB5\xAD\xEC\x96\xB4", "\xC7\xD1\xB1\xB9\xBE\xEE"},
      {"Russian in 1251", 1251, "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82",
       "\xCF\xF0\xE8\xE2\xE5\xF2"},
      {"Japanese in 932", 932, "\xE8\xA1\xA8\xE7\xA4\xBA", "\x95\x5C\x8E\xA6"},
      {"ASCII is unchanged", 1252, "ZuLauncher 1.0", "ZuLauncher 1.0"},
      {"empty text", 949, "", ""},
      {"Korean has no place in 1251", 1251, "\xED\x95\x9C\xEA\xB5\xAD", "??"},
  };
  for (const ConversionCase& c : cases) {
    CodePageScope scope(c.codePage);
    std::string ansi = "old";
    ASSERT_TRUE(Utf8ToAnsi(c.utf8, ansi)) << c.what;
    EXPECT_EQ(c.ansi, ansi) << c.what;
    if (c.ansi.find('?') == std::string::npos) {
      std::string back;
      ASSERT_TRUE(AnsiToUtf8(ansi, back)) << c.what;
      EXPECT_EQ(c.utf8, back) << c.what;
    }
  }
}

TEST(Utf8ToAnsi, FailsWholeOnIllFormedInputAndLeavesTheOutput) {
  const char* const invalid[] = {
      "\xC0\x80",          // overlong NUL
      "\xE0\x80\xAF",      // overlong slash
      "\xED\xA0\x80",      // encoded surrogate
      "\xF4\x90\x80\x80",  // beyond U+10FFFF
      "\xE2\x82",          // cut off
      "abc\xFF",           // never a UTF-8 byte
      "\x80",              // lone continuation
      "\xC3\x28",          // bad continuation
  };
  CodePageScope scope(949);
  for (const char* text : invalid) {
    std::string ansi = "untouched";
    EXPECT_FALSE(Utf8ToAnsi(text, ansi)) << text;
    EXPECT_EQ("untouched", ansi);
  }
}

TEST(Utf16LeToAnsi, ConvertsAndRejectsBrokenUnits) {
  CodePageScope scope(1251);
  const unsigned char privet[] = {0x1F, 0x04, 0x40, 0x04, 0x38, 0x04};  // "При"
  std::string ansi;
  ASSERT_TRUE(Utf16LeToAnsi(privet, sizeof privet, ansi));
  EXPECT_EQ("\xCF\xF0\xE8", ansi);

  ansi = "untouched";
  EXPECT_FALSE(Utf16LeToAnsi(privet, 5, ansi)) << "odd byte count";
  const unsigned char loneHigh[] = {0x41, 0x00, 0x00, 0xD8};
  EXPECT_FALSE(Utf16LeToAnsi(loneHigh, sizeof loneHigh, ansi));
  const unsigned char loneLow[] = {0x00, 0xDC, 0x41, 0x00};
  EXPECT_FALSE(Utf16LeToAnsi(loneLow, sizeof loneLow, ansi));
  EXPECT_EQ("untouched", ansi);

  const unsigned char pair[] = {0x3D, 0xD8, 0x00, 0xDE, 0x41, 0x00};  // U+1F600 'A'
  ASSERT_TRUE(Utf16LeToAnsi(pair, sizeof pair, ansi));
  EXPECT_EQ('A', ansi.back());
  EXPECT_EQ(0u, ansi.find('?')) << "an emoji has no place in 1251";
}

TEST(AnsiToUtf8, RejectsBytesTheCodePageDoesNotDefine) {
  CodePageScope scope(949);
  std::string utf8 = "untouched";
  EXPECT_FALSE(AnsiToUtf8("\xC7", utf8)) << "lead byte without its trail";
  EXPECT_EQ("untouched", utf8);
}

}  // namespace
