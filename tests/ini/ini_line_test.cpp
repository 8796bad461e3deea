#include "ini/ini_line.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/common/code_page_scope.h"

namespace {

// Every line the reader gives, each in brackets.
std::string LinesOf(const std::string& text) {
  IniLineReader reader(text);
  std::string lines;
  std::string line;
  while (reader.ReadLine(line)) lines += "[" + line + "]";
  return lines;
}

TEST(IniLineReader, SplitsAtLineFeedsAndDropsCarriageReturns) {
  struct Case {
    const char* what;
    std::string text;
    const char* lines;
  };
  const Case cases[] = {
      {"empty text", "", ""},
      {"one line without line feed", "a=1", "[a=1]"},
      {"line feed ends a line", "a\nb\n", "[a][b]"},
      {"empty lines in the middle", "a\n\n\nb", "[a][][][b]"},
      {"CR LF line ends", "a\r\nb\r\n", "[a][b]"},
      {"CR inside a line is dropped", "a\rb=c", "[ab=c]"},
      {"CR only line ends make one line", "a\rb\rc", "[abc]"},
      {"lines are trimmed", " \t a = 1 \v\f\n", "[a = 1]"},
      {"whitespace-only last line", "a\n  ", "[a][]"},
      {"CR-only last line is no line", "a\n\r", "[a]"},
      {"high bytes are not whitespace", "\xa0x\xa0\n", "[\xa0x\xa0]"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.lines, LinesOf(c.text)) << c.what;
}

TEST(IniLineKinds, FirstMatchWins) {
  struct Case {
    const char* line;
    IniLineKind kind;
  };
  const Case cases[] = {
      {"", IniLineKind::Empty},
      {"[GENERAL]", IniLineKind::Section},
      {"[ GENERAL ]", IniLineKind::Section},
      {"[]", IniLineKind::Section},
      {"[a]=b", IniLineKind::KeyValue},
      {"[GENERAL] ; main", IniLineKind::Other},
      {"[", IniLineKind::Other},
      {"]", IniLineKind::Other},
      {"; x = 1", IniLineKind::Comment},
      {";", IniLineKind::Comment},
      {"# x = 1", IniLineKind::KeyValue},
      {"just words", IniLineKind::Other},
      {"=v", IniLineKind::KeyValue},
      {"[x];=", IniLineKind::KeyValue},
  };
  for (const Case& c : cases) EXPECT_EQ(c.kind, ClassifyLine(c.line)) << c.line;
  EXPECT_EQ("GENERAL", SectionNameOf("[ GENERAL ]"));
  EXPECT_EQ("", SectionNameOf("[  ]"));
  EXPECT_EQ("a]b", SectionNameOf("[a]b]"));
}

TEST(IniLineKindsCp932, ClosingBracketMustNotBeATrailByte) {
  CodePageScope codePage(932);
  // 0x81 0x5D is one double-byte character whose trail byte looks like "]".
  EXPECT_EQ(IniLineKind::Other, ClassifyLine("[a\x81]"));
  EXPECT_EQ(IniLineKind::Section, ClassifyLine("[\x81]]"));
  EXPECT_EQ("\x81]", SectionNameOf("[\x81]]"));
}

TEST(IniKeyValue, SplitsQuotedAndBareParts) {
  struct Case {
    const char* what;
    const char* line;
    bool kept;
    const char* key;
    const char* value;
  };
  const Case cases[] = {
      {"plain", "VERSION_FILE_URL=http://host/v.ini", true, "VERSION_FILE_URL",
       "http://host/v.ini"},
      {"spaces around", "Key = some value ; note", true, "Key", "some value"},
      {"quoted value keeps spaces", "Key = \"a ; b \"", true, "Key", "a ; b "},
      {"text after the closing quote is ignored", "k=\"v\" tail", true, "k", "v"},
      {"unterminated quoted value", "k = \"open value ", true, "k", "open value "},
      {"quote inside a bare value", "k = a\"b", true, "k", "a\"b"},
      {"empty value", "k =", true, "k", ""},
      {"comment only", "k = ; note", true, "k", ""},
      {"quoted key", "\" spaced key \" = v", true, " spaced key ", "v"},
      {"quoted key with tab", "\"k\"\t=\tv", true, "k", "v"},
      {"quoted key holding =", "\"a=b\" = c", true, "a=b", "c"},
      {"quoted key, no '='", "\"k\" x = v", false, "", ""},
      {"quoted key at line end", "\"k=v\"", false, "", ""},
      {"quoted key unterminated", "\"k = v", false, "", ""},
      {"empty quoted key", "\"\" = v", false, "", ""},
      {"empty key", "=v", false, "", ""},
      {"blank key", " \t= v", false, "", ""},
      {"hash is an ordinary byte", "# x = 1", true, "# x", "1"},
      {"brackets are ordinary bytes", "[a]=b", true, "[a]", "b"},
      {"second '=' is part of the value", "a=b=c", true, "a", "b=c"},
  };
  for (const Case& c : cases) {
    std::string key = "unset";
    std::string value = "unset";
    ASSERT_EQ(c.kept, SplitKeyValue(c.line, key, value)) << c.what;
    if (!c.kept) continue;
    EXPECT_EQ(c.key, key) << c.what;
    EXPECT_EQ(c.value, value) << c.what;
  }
}

}  // namespace
