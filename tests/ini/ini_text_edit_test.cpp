#include "ini/ini_text_edit.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(IniTextEdit, SetsOneValueAndLeavesEveryOtherByte) {
  const struct {
    const char* why;
    std::string before;
    const char* section;
    std::string after;
  } rows[] = {
      {"replaces in place, keeps the key's spelling and CRLF",
       "[P]\r\nA=1\r\nkey = old ; note\r\nB=2\r\n", "P", "[P]\r\nA=1\r\nkey =new\r\nB=2\r\n"},
      {"adds after the section's last entry, before blank lines and the next section",
       "[P]\r\nA=1\r\n\r\n[Q]\r\nKEY=q\r\n", "p", "[P]\r\nA=1\r\nKEY=new\r\n\r\n[Q]\r\nKEY=q\r\n"},
      {"adds after a header without entries, LF lines", "[P]\n[Q]\n", "P", "[P]\nKEY=new\n[Q]\n"},
      {"adds a line break to a last line without one", "[P]\nA=1", "P", "[P]\nA=1\nKEY=new\n"},
      {"the first of two same-named sections takes a new key", "[P]\nA=1\n[Q]\n[P]\nB=2\n", "P",
       "[P]\nA=1\nKEY=new\n[Q]\n[P]\nB=2\n"},
      {"a key in the second same-named section is replaced there", "[P]\nA=1\n[P]\nKEY=x\n", "P",
       "[P]\nA=1\n[P]\nKEY=new\n"},
      {"an empty value", "[P]\r\nKEY=\r\n", "P", "[P]\r\nKEY=new\r\n"},
  };
  for (const auto& row : rows) {
    std::string text = row.before;
    ASSERT_TRUE(SetIniValue(text, row.section, "KEY", "new")) << row.why;
    EXPECT_EQ(row.after, text) << row.why;
  }
}

TEST(IniTextEdit, AMissingSectionChangesNothing) {
  std::string text = "[P]\nKEY=1\n; [Q]\n";
  EXPECT_FALSE(SetIniValue(text, "Q", "KEY", "new"));
  EXPECT_EQ("[P]\nKEY=1\n; [Q]\n", text);
}

}  // namespace
