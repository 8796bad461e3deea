// Results of commands, the default button and the handling of invalid option combinations.
#include "msgbox/message_dlg_rules.h"

#include <gtest/gtest.h>

#include "msgbox/message_dlg_options.h"

namespace {

TEST(MessageDlgRules, ResultForEveryButtonSetAndCommand) {
  constexpr int kEnter = 1, kEscape = 2;  // the dialog manager's IDOK and IDCANCEL commands
  struct Row {
    int buttonSet;
    int btn1, btn2, btn3, enter, escape;
  };
  const Row rows[] = {
      {kButtonSetOk, kResultOk, kResultOk, kResultOk, kResultOk, kResultOk},
      {kButtonSetOkCancel, kResultOk, kResultCancel, kResultCancel, kResultCancel, kResultCancel},
      {kButtonSetYesNoCancel, kResultYes, kResultNo, kResultCancel, kResultCancel, kResultCancel},
      {kButtonSetYesNo, kResultYes, kResultNo, kResultNo, kResultNo, kResultNo},
      {2, 10, 20, 30, 1, 2},  // sets without a table answer the command id
      {5, 10, 20, 30, 1, 2},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(row.btn1, ResultForCommand(row.buttonSet, IDC_MD_BTN1)) << row.buttonSet;
    EXPECT_EQ(row.btn2, ResultForCommand(row.buttonSet, IDC_MD_BTN2)) << row.buttonSet;
    EXPECT_EQ(row.btn3, ResultForCommand(row.buttonSet, IDC_MD_BTN3)) << row.buttonSet;
    EXPECT_EQ(row.enter, ResultForCommand(row.buttonSet, kEnter)) << row.buttonSet;
    EXPECT_EQ(row.escape, ResultForCommand(row.buttonSet, kEscape)) << row.buttonSet;
  }
}

TEST(MessageDlgRules, DefaultButtonFocusAndCountdownAgree) {
  struct Row {
    unsigned bits;
    int command;
  };
  const Row rows[] = {
      {0x000, IDC_MD_BTN1},
      {0x100, IDC_MD_BTN2},
      {0x200, IDC_MD_BTN3},
      {0x300, IDC_MD_BTN1},  // both bits name no button: the first is the default
      {0x700, IDC_MD_BTN1},
      {0x400, IDC_MD_BTN1},  // bits of no meaning here
      {0x500, IDC_MD_BTN2},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(row.command, DefaultButtonCommand(row.bits)) << std::hex << row.bits;
  }
  EXPECT_EQ(0u, NormalizeDefaultButton(0x300));
  EXPECT_EQ(0x100u, NormalizeDefaultButton(0x100));
  EXPECT_EQ(0x200u, NormalizeDefaultButton(0x200 | 0x0F));
}

TEST(MessageDlgRules, InvalidOptionCombinationsAreNarrowedToHarmlessOnes) {
  struct Row {
    unsigned options;
    bool hasCaptions;
    unsigned expected;
    const char* why;
  };
  const Row rows[] = {
      {MDF_COUNTDOWN | MDF_CHECKBOX, true, MDF_COUNTDOWN, "value is seconds, never a pointer"},
      {MDF_COUNTDOWN | MDF_CHECKBOX_CHECKED | MDF_NOBUTTONS, true,
       MDF_COUNTDOWN | MDF_NOBUTTONS, "check box dropped, the rest kept"},
      {MDF_CUSTOMCAPTIONS | MDF_CHECKBOX, false, MDF_CHECKBOX, "no captions string"},
      {MDF_CUSTOMCAPTIONS, true, MDF_CUSTOMCAPTIONS, "valid"},
      {MDF_CHECKBOX | MDF_CHECKBOX_CHECKED, true, MDF_CHECKBOX | MDF_CHECKBOX_CHECKED, "valid"},
      {MDF_COUNTDOWN | MDF_NOBUTTONS, false, MDF_COUNTDOWN | MDF_NOBUTTONS, "valid"},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(row.expected, NormalizeMessageDlgOptions(row.options, row.hasCaptions)) << row.why;
  }
}

}  // namespace
