// Caption tables by language and the splitting of custom captions.
#include "msgbox/button_captions.h"

#include <gtest/gtest.h>

#include "msgbox/message_dlg_options.h"
#include "tests/common/code_page_scope.h"

namespace {

TEST(ButtonCaptions, LanguageChoosesTheTable) {
  // Code page 949: "예", "아니요", "취소"; code page 932: "はい", "いいえ", "キャンセル".
  struct Row {
    unsigned short language;
    ButtonCaptions yesNoCancel;
  };
  const Row rows[] = {
      {0x0412, {"\xbf\xb9", "\xbe\xc6\xb4\xcf\xbf\xe4", "\xc3\xeb\xbc\xd2"}},
      {0x0411, {"\x82\xcd\x82\xa2", "\x82\xa2\x82\xa2\x82\xa6",
                "\x83\x4c\x83\x83\x83\x93\x83\x5a\x83\x8b"}},
      {0x0419, {"&Yes", "&No", "&Cancel"}},  // Russian uses the third table
      {0x0409, {"&Yes", "&No", "&Cancel"}},
      {0x0812, {"&Yes", "&No", "&Cancel"}},  // compared as a whole: not Korean
      {0x0000, {"&Yes", "&No", "&Cancel"}},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(row.yesNoCancel, CaptionsForButtonSet(kButtonSetYesNoCancel, row.language))
        << std::hex << row.language;
  }
}

TEST(ButtonCaptions, ButtonSetsTakeTheirIndexes) {
  const unsigned short english = 0x0409;
  EXPECT_EQ((ButtonCaptions{"&OK", "", ""}), CaptionsForButtonSet(kButtonSetOk, english));
  EXPECT_EQ((ButtonCaptions{"&OK", "&Cancel", ""}),
            CaptionsForButtonSet(kButtonSetOkCancel, english));
  EXPECT_EQ((ButtonCaptions{"&Yes", "&No", ""}), CaptionsForButtonSet(kButtonSetYesNo, english));
  EXPECT_EQ((ButtonCaptions{"\xc8\xae\xc0\xce", "\xc3\xeb\xbc\xd2", ""}),
            CaptionsForButtonSet(kButtonSetOkCancel, kLanguageKorean));
  for (int other : {2, 5, 6, 15}) {
    EXPECT_EQ(ButtonCaptions{}, CaptionsForButtonSet(other, english)) << other;
  }
}

TEST(ButtonCaptions, CustomCaptionsSplitAtCommas) {
  struct Row {
    const char* captions;
    ButtonCaptions expected;
  };
  const Row rows[] = {
      {"Save,,Discard", {"Save", "Discard", ""}},  // runs of commas give no empty token
      {"Single", {"Single", "", ""}},
      {",Lead,Trail,", {"Lead", "Trail", ""}},
      {" spaced , kept ", {" spaced ", " kept ", ""}},
      {"A,B,C,D,E", {"A", "B", "C"}},  // tokens after the third are ignored
      {"", {"", "", ""}},
      {",,,", {"", "", ""}},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(row.expected, SplitCustomCaptions(row.captions)) << row.captions;
  }
}

TEST(ButtonCaptions, CustomCaptionsKeepDoubleByteCharactersWhole) {
  {
    CodePageScope korean(949);
    EXPECT_EQ((ButtonCaptions{"\xbf\xb9", "\xbe\xc6\xb4\xcf\xbf\xe4", ""}),
              SplitCustomCaptions("\xbf\xb9,\xbe\xc6\xb4\xcf\xbf\xe4"));
  }
  {
    // "ソ" is 0x83 0x5C in code page 932: its trail byte is a backslash, kept with its lead.
    CodePageScope japanese(932);
    EXPECT_EQ((ButtonCaptions{"\x83\x5c\x82\xcd", "\x82\xa2", ""}),
              SplitCustomCaptions("\x83\x5c\x82\xcd,\x82\xa2"));
  }
}

}  // namespace
