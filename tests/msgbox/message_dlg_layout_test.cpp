// The message box's layout arithmetic, checked against the figures of known boxes.
#include "msgbox/message_dlg_layout.h"

#include <gtest/gtest.h>

#include "msgbox/message_dlg_options.h"

namespace {

// A one-line text narrower than 160 pixels in the default GUI font (13 pixels high) with
// "&OK"-sized captions.
MessageDlgMeasures NarrowOneLineBox(int buttonSet) {
  MessageDlgMeasures measures;
  measures.textHeight = 13;
  measures.textWidth = 120;
  measures.captionWidths = {25, 25, 40};
  measures.hasCaption = {true, buttonSet != kButtonSetOk, buttonSet == kButtonSetYesNoCancel};
  measures.buttonSet = buttonSet;
  return measures;
}

void ExpectPlace(const ControlPlace& place, int x, int y, int width, int height,
                 const char* what) {
  EXPECT_EQ(x, place.x) << what;
  EXPECT_EQ(y, place.y) << what;
  EXPECT_EQ(width, place.width) << what;
  EXPECT_EQ(height, place.height) << what;
}

TEST(MessageDlgLayout, NarrowOneLineOkBoxHasTheMinimumSize) {
  const MessageDlgLayout layout = ComputeMessageDlgLayout(NarrowOneLineBox(kButtonSetOk));
  EXPECT_EQ(230, layout.contentWidth);
  EXPECT_EQ(32, layout.contentHeight);
  EXPECT_EQ(250, layout.windowWidth);
  EXPECT_EQ(142, layout.windowHeight);
  ExpectPlace(layout.buttons[0], 162, 107, 70, 25, "BTN1 spans x 162-232, y 107-132");
  EXPECT_EQ((std::array<bool, 3>{true, false, false}), layout.buttonShown);
  ExpectPlace(layout.frame, 7, 30, 230, 64, "frame spans x 7-237, y 30-94");
  ExpectPlace(layout.icon, 17, 50, 32, 32, "icon");
  ExpectPlace(layout.text, 59, 59, 168, 13, "text centred in the frame");
  ExpectPlace(layout.title, 5, 5, 235, 20, "title strip");
  EXPECT_EQ(235, layout.stripWidth);
  EXPECT_EQ(20, layout.stripHeight);
  EXPECT_FALSE(layout.checkBoxShown);
}

TEST(MessageDlgLayout, YesNoButtonsAreRightAlignedFiveApart) {
  const MessageDlgLayout layout = ComputeMessageDlgLayout(NarrowOneLineBox(kButtonSetYesNo));
  EXPECT_EQ(250, layout.windowWidth);
  ExpectPlace(layout.buttons[0], 87, 107, 70, 25, "BTN1");
  ExpectPlace(layout.buttons[1], 162, 107, 70, 25, "BTN2");
  EXPECT_EQ((std::array<bool, 3>{true, true, false}), layout.buttonShown);
}

TEST(MessageDlgLayout, ThreeButtonsWidenTheBoxPastTheMinimum) {
  // 3 x 70 + 25 = 235 beats the minimum of 230.
  const MessageDlgLayout layout =
      ComputeMessageDlgLayout(NarrowOneLineBox(kButtonSetYesNoCancel));
  EXPECT_EQ(235, layout.contentWidth);
  EXPECT_EQ(255, layout.windowWidth);
  ExpectPlace(layout.buttons[0], 17, 107, 70, 25, "BTN1");
  ExpectPlace(layout.buttons[1], 92, 107, 70, 25, "BTN2");
  ExpectPlace(layout.buttons[2], 167, 107, 70, 25, "BTN3 ends at W + 2");
  EXPECT_EQ((std::array<bool, 3>{true, true, true}), layout.buttonShown);
}

TEST(MessageDlgLayout, NoButtonsBoxIsTwentyFivePixelsShorterAndShowsNoButton) {
  for (int buttonSet : {kButtonSetOk, kButtonSetYesNo, kButtonSetYesNoCancel}) {
    MessageDlgMeasures measures = NarrowOneLineBox(buttonSet);
    measures.noButtons = true;
    const MessageDlgLayout layout = ComputeMessageDlgLayout(measures);
    EXPECT_EQ(buttonSet == kButtonSetYesNoCancel ? 255 : 250, layout.windowWidth);
    EXPECT_EQ(117, layout.windowHeight) << "button set " << buttonSet;
    EXPECT_EQ((std::array<bool, 3>{false, false, false}), layout.buttonShown);
  }
}

TEST(MessageDlgLayout, ButtonSetsWithoutCaptionsShowNoButton) {
  for (int buttonSet : {2, 5, 6, 15}) {
    MessageDlgMeasures measures = NarrowOneLineBox(buttonSet);
    measures.hasCaption = {false, false, false};
    measures.captionWidths = {0, 0, 0};
    const MessageDlgLayout layout = ComputeMessageDlgLayout(measures);
    EXPECT_EQ((std::array<bool, 3>{false, false, false}), layout.buttonShown) << buttonSet;
    EXPECT_EQ(142, layout.windowHeight);
  }
}

TEST(MessageDlgLayout, WideCaptionsGetTheirWidthPlusTen) {
  MessageDlgMeasures measures = NarrowOneLineBox(kButtonSetYesNo);
  measures.captionWidths = {100, 30, 0};
  const MessageDlgLayout layout = ComputeMessageDlgLayout(measures);
  ExpectPlace(layout.buttons[1], 162, 107, 70, 25, "BTN2 keeps the minimum");
  ExpectPlace(layout.buttons[0], 162 - 5 - 110, 107, 110, 25, "BTN1 is 100 + 10 wide");
}

TEST(MessageDlgLayout, EmptySecondCaptionTakesNoRoom) {
  // Custom captions "Save,,": BTN2 and BTN3 have no caption in a yes/no box.
  MessageDlgMeasures measures = NarrowOneLineBox(kButtonSetYesNo);
  measures.hasCaption = {true, false, false};
  const MessageDlgLayout layout = ComputeMessageDlgLayout(measures);
  ExpectPlace(layout.buttons[0], 162, 107, 70, 25, "BTN1 moves to the right edge");
  EXPECT_EQ(0, layout.buttons[1].width);
}

TEST(MessageDlgLayout, LongLineMakesTheBoxAsWideAsTheLinePlusNinety) {
  MessageDlgMeasures measures = NarrowOneLineBox(kButtonSetOk);
  measures.textWidth = 1500;
  const MessageDlgLayout layout = ComputeMessageDlgLayout(measures);
  EXPECT_EQ(1570, layout.contentWidth);
  EXPECT_EQ(1590, layout.windowWidth);
  EXPECT_EQ(1500 + 70 - 62, layout.text.width);
  ExpectPlace(layout.buttons[0], 1570 + 2 - 70, 107, 70, 25, "BTN1 at the right");
}

TEST(MessageDlgLayout, TallTextGrowsTheBoxAndCentresIcon) {
  MessageDlgMeasures measures = NarrowOneLineBox(kButtonSetOk);
  measures.textHeight = 5 * 13;
  const MessageDlgLayout layout = ComputeMessageDlgLayout(measures);
  EXPECT_EQ(65, layout.contentHeight);
  EXPECT_EQ(175, layout.windowHeight);
  ExpectPlace(layout.frame, 7, 30, 230, 97, "frame");
  ExpectPlace(layout.icon, 17, 30 + 73 / 2, 32, 32, "icon");
  ExpectPlace(layout.text, 59, 30 + 40 / 2, 168, 65, "text");
  EXPECT_EQ(65 + 75, layout.buttons[0].y);
}

TEST(MessageDlgLayout, CheckBoxSitsBottomLeftAndCountsTowardTheWidth) {
  MessageDlgMeasures measures = NarrowOneLineBox(kButtonSetYesNo);
  measures.hasCheckBox = true;
  measures.checkTextWidth = 150;
  const MessageDlgLayout layout = ComputeMessageDlgLayout(measures);
  // 70 + 70 + (150 + 20) + 25 = 335.
  EXPECT_EQ(335, layout.contentWidth);
  EXPECT_TRUE(layout.checkBoxShown);
  ExpectPlace(layout.checkBox, 10, 107, 170, 25, "check box");
  ExpectPlace(layout.buttons[0], 335 - 73 - 70, 107, 70, 25, "BTN1");
}

TEST(MessageDlgLayout, EmptyTextIsOneLineHighAndFiftyWide) {
  EXPECT_EQ(1, TextLineCount(""));
  EXPECT_TRUE(TextLinesForWidth("").empty());
  MessageDlgMeasures measures = NarrowOneLineBox(kButtonSetOk);
  measures.textWidth = 0;
  measures.textHeight = TextLineCount("") * 13;
  const MessageDlgLayout layout = ComputeMessageDlgLayout(measures);
  EXPECT_EQ(230, layout.contentWidth);
  EXPECT_EQ(142, layout.windowHeight);
  EXPECT_EQ(13, layout.text.height);
}

TEST(MessageDlgLayout, LinesForHeightAndWidth) {
  struct Row {
    const char* text;
    int lines;
    std::vector<std::string> measured;
  };
  const Row rows[] = {
      {"one line", 1, {"one line"}},
      {"first\n\nthird", 3, {"first", "third"}},      // empty middle line counts for height
      {"trailing\n", 2, {"trailing"}},
      {"\n\n", 3, {}},
      {"crlf\r\nline", 2, {"crlf\r", "line"}},        // "\r" stays in its line
  };
  for (const Row& row : rows) {
    EXPECT_EQ(row.lines, TextLineCount(row.text)) << row.text;
    EXPECT_EQ(row.measured, TextLinesForWidth(row.text)) << row.text;
  }
}

}  // namespace
