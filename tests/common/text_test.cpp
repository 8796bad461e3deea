#include "common/text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/common/code_page_scope.h"

namespace {

const size_t npos = std::string::npos;

// Code page 932: "表" is 95 5C and "ソ" is 83 5C, so their trail byte is a backslash.
// "−" is 81 7C (trail byte '|'), "ア" is 83 41 (trail byte 'A').
// Code page 949: "갂" is 81 41 (trail byte 'A'), "한국어" is C7 D1 B1 B9 BE EE.
const std::string kHyou = "\x95\x5C";
const std::string kSo = "\x83\x5C";

struct FindCase {
  const char* what;
  unsigned codePage;
  std::string text;
  char ch;
  size_t first;
  size_t last;
};

TEST(MultibyteFind, TrailBytesNeverMatch) {
  const FindCase cases[] = {
      {"backslash only inside 932 characters", 932, kHyou + kSo, '\\', npos, npos},
      {"real backslash after a 932 character", 932, "C:" + kHyou + "\\x", '\\', 4, 4},
      {"real backslash before and after", 932, "a\\" + kSo + "\\b", '\\', 1, 4},
      {"same bytes in 1252 are single characters", 1252, kHyou + kSo, '\\', 1, 3},
      {"949 trail byte equal to A", 949, "\x81\x41" "A", 'A', 2, 2},
      {"949 text without the byte", 949, "\xC7\xD1\xB1\xB9\xBE\xEE", 'A', npos, npos},
      {"lead byte alone at the end is a character", 949, "ab\xC7", '\xC7', 2, 2},
      {"empty text", 949, "", 'a', npos, npos},
  };
  for (const FindCase& c : cases) {
    CodePageScope scope(c.codePage);
    EXPECT_EQ(c.first, FindChar(c.text, c.ch)) << c.what;
    EXPECT_EQ(c.last, ReverseFindChar(c.text, c.ch)) << c.what;
  }
}

TEST(MultibyteFind, StartInsideACharacterMovesToTheNextCharacter) {
  CodePageScope scope(932);
  const std::string text = kHyou + "\\";
  EXPECT_EQ(2u, FindChar(text, '\\', 1));  // position 1 is a trail byte
  EXPECT_EQ(2u, FindChar(text, '\\', 2));
  EXPECT_EQ(npos, FindChar(text, '\\', 3));
  EXPECT_EQ(npos, FindChar(text, '\\', 100));
}

TEST(MultibyteFind, FindTextMatchesOnlyAtCharacterStarts) {
  CodePageScope scope(932);
  EXPECT_EQ(npos, FindSubstring(kHyou, "\\"));
  EXPECT_EQ(2u, FindSubstring(kHyou + "\\x", "\\x"));
  EXPECT_EQ(0u, FindSubstring(kHyou + kSo, kHyou));
  EXPECT_EQ(2u, FindSubstring(kHyou + kSo, kSo));
  EXPECT_EQ(npos, FindSubstring("abc", ""));
  EXPECT_EQ(npos, FindSubstring("ab", "abc"));
  EXPECT_EQ(3u, FindSubstring("abcabc", "abc", 1));
}

struct ReplaceCase {
  const char* what;
  unsigned codePage;
  std::string text;
  std::string pattern;
  std::string replacement;
  std::string expected;
  size_t count;
};

TEST(MultibyteReplace, EveryNonOverlappingOccurrenceLeftToRight) {
  const ReplaceCase cases[] = {
      {"quotes to apostrophes", 1252, "a\"b\"c", "\"", "'", "a'b'c", 2},
      {"non-overlapping from the left", 1252, "aaaa", "aa", "b", "bb", 2},
      {"odd overlap leaves the rest", 1252, "aaa", "aa", "b", "ba", 1},
      {"empty pattern replaces nothing", 1252, "abc", "", "x", "abc", 0},
      {"replacement may be longer", 1252, "a,b", ",", ", ", "a, b", 1},
      {"replacement may contain the pattern", 1252, "aa", "a", "aa", "aaaa", 2},
      {"trail byte is not replaced", 932, kHyou + "\\", "\\", "/", kHyou + "/", 1},
      {"949 trail byte A stays", 949, "\x81\x41" "A", "A", "B", "\x81\x41" "B", 1},
      {"double-byte pattern", 932, "x" + kSo + "y" + kSo, kSo, "-", "x-y-", 2},
      {"no occurrence", 1252, "abc", "z", "y", "abc", 0},
  };
  for (const ReplaceCase& c : cases) {
    CodePageScope scope(c.codePage);
    std::string text = c.text;
    EXPECT_EQ(c.count, ReplaceAll(text, c.pattern, c.replacement)) << c.what;
    EXPECT_EQ(c.expected, text) << c.what;
  }
}

TEST(MultibyteTrim, RemovesTheSixWhitespaceBytesOnly) {
  CodePageScope scope(1252);
  EXPECT_EQ("abc", Trim(" \t\r\n\v\fabc \t\r\n\v\f"));
  EXPECT_EQ("a b", Trim("  a b  "));
  EXPECT_EQ("", Trim(" \t \r\n"));
  EXPECT_EQ("", Trim(""));
  EXPECT_EQ("\xA0x\xA0", Trim("\xA0x\xA0")) << "no byte of 0x80 or above is whitespace";
  EXPECT_EQ("x  ", TrimLeft("  x  "));
  EXPECT_EQ("  x", TrimRight("  x  "));
}

TEST(MultibyteTrim, DoubleByteCharactersAtTheEdgesStay) {
  CodePageScope scope(949);
  EXPECT_EQ("\xC7\xD1", Trim("  \xC7\xD1  "));
  CodePageScope japanese(932);
  EXPECT_EQ(kHyou, Trim("\t" + kHyou + "\n"));
}

TEST(MultibyteTokenize, SplitsOnlyAtSingleByteDelimiters) {
  struct Case {
    const char* what;
    unsigned codePage;
    std::string text;
    std::string delimiters;
    std::vector<std::string> tokens;
  };
  const Case cases[] = {
      {"plain commas", 1252, "a,b,c", ",", {"a", "b", "c"}},
      {"runs and edges give no empty tokens", 1252, ",,a,,b,", ",", {"a", "b"}},
      {"blanks stay in the token", 1252, " a , b", ",", {" a ", " b"}},
      {"several delimiters", 1252, "a\nb\rc", "\r\n", {"a", "b", "c"}},
      {"only delimiters", 1252, ",,,", ",", {}},
      {"empty text", 1252, "", ",", {}},
      {"932 trail byte | does not split", 932, "a|\x81\x7C|b", "|", {"a", "\x81\x7C", "b"}},
      {"932 trail backslash does not split", 932, kHyou + "\\" + kSo, "\\", {kHyou, kSo}},
  };
  for (const Case& c : cases) {
    CodePageScope scope(c.codePage);
    EXPECT_EQ(c.tokens, Tokenize(c.text, c.delimiters)) << c.what;
  }
}

TEST(ByteCountedParts, ClampOutOfRangeArguments) {
  const std::string text = "abcdef";
  struct Case {
    const char* what;
    std::string actual;
    std::string expected;
  };
  const Case cases[] = {
      {"Left 3", Left(text, 3), "abc"},
      {"Left 0", Left(text, 0), ""},
      {"Left negative", Left(text, -2), ""},
      {"Left past end", Left(text, 99), "abcdef"},
      {"Right 2", Right(text, 2), "ef"},
      {"Right negative", Right(text, -1), ""},
      {"Right past end", Right(text, 99), "abcdef"},
      {"Mid 2", Mid(text, 2), "cdef"},
      {"Mid negative first", Mid(text, -3), "abcdef"},
      {"Mid past end", Mid(text, 6), ""},
      {"Mid 1,2", Mid(text, 1, 2), "bc"},
      {"Mid count past end", Mid(text, 4, 99), "ef"},
      {"Mid negative count", Mid(text, 1, -1), ""},
      {"Mid negative first with count", Mid(text, -1, 2), "ab"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.expected, c.actual) << c.what;
}

TEST(ByteCountedParts, CountBytesNotCharacters) {
  CodePageScope scope(949);
  EXPECT_EQ("\xC7", Left("\xC7\xD1", 1));
  EXPECT_EQ("\xD1", Right("\xC7\xD1", 1));
}

TEST(CompareNoCase, FoldsAsciiLettersOnly) {
  CodePageScope scope(1252);
  EXPECT_EQ(0, CompareNoCase("ZuLauncher", "zulauncher"));
  EXPECT_TRUE(EqualsNoCase("GENERAL", "general"));
  EXPECT_FALSE(EqualsNoCase("GENERAL", "GENERALS"));
  EXPECT_LT(CompareNoCase("abc", "ABD"), 0);
  EXPECT_GT(CompareNoCase("abd", "ABC"), 0);
  EXPECT_LT(CompareNoCase("ab", "ABC"), 0);
  EXPECT_GT(CompareNoCase("abc", "AB"), 0);
  EXPECT_FALSE(EqualsNoCase("\xC0", "\xE0")) << "no folding of bytes above 0x7F";
}

TEST(CompareNoCase, TrailBytesAreNotFolded) {
  CodePageScope scope(932);
  // 83 41 ("ア") and 83 61 ("ャ") differ only by the case of their trail byte's ASCII twin.
  EXPECT_FALSE(EqualsNoCase("\x83\x41", "\x83\x61"));
  EXPECT_TRUE(EqualsNoCase("x\x83\x41Y", "X\x83\x41y"));
}

}  // namespace
