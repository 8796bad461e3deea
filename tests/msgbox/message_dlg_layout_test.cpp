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

// The same three-button box with a check box on monitors of 100, 125, 150 and 200 %: the
// measures come in the pixels of the font at that DPI, the layout's own lengths are scaled.
TEST(MessageDlgLayoutDpi, ScaledBoxesKeepTheirShapeWithoutOverlap) {
  struct Row {
    int dpi;
    int W, windowWidth, windowHeight, buttonTop, x1, x2, x3, buttonWidth, checkLeft;
  };
  const Row rows[] = {
      {96, 315, 335, 142, 107, 97, 172, 247, 70, 10},
      {120, 395, 420, 178, 134, 122, 216, 310, 88, 13},
      {144, 473, 503, 213, 161, 145, 258, 371, 105, 15},
      {192, 630, 670, 284, 214, 194, 344, 494, 140, 20},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.dpi);
    auto S = [&](int length) { return ScaleForDpi(length, row.dpi); };
    MessageDlgMeasures measures = NarrowOneLineBox(kButtonSetYesNoCancel);
    measures.textHeight = S(13);
    measures.textWidth = S(120);
    measures.captionWidths = {S(25), S(25), S(40)};
    measures.hasCheckBox = true;
    measures.checkTextWidth = S(60);
    measures.dpi = row.dpi;
    const MessageDlgLayout layout = ComputeMessageDlgLayout(measures);

    EXPECT_EQ(row.W, layout.contentWidth);
    EXPECT_EQ(row.windowWidth, layout.windowWidth);
    EXPECT_EQ(row.windowHeight, layout.windowHeight);
    const int x[3] = {row.x1, row.x2, row.x3};
    for (int i = 0; i < 3; ++i)
      ExpectPlace(layout.buttons[i], x[i], row.buttonTop, row.buttonWidth, S(25), "button");
    ExpectPlace(layout.checkBox, row.checkLeft, row.buttonTop, S(60) + S(20), S(25), "check box");
    ExpectPlace(layout.title, S(5), S(5), row.W + S(5), S(20), "title strip");

    // Nothing overlaps and nothing leaves the frame or the window.
    const ControlPlace& frame = layout.frame;
    const int frameRight = frame.x + frame.width, frameBottom = frame.y + frame.height;
    EXPECT_GE(layout.text.x, layout.icon.x + layout.icon.width) << "text right of the icon";
    EXPECT_LE(layout.text.x + layout.text.width, frameRight);
    EXPECT_GE(layout.text.y, frame.y);
    EXPECT_LE(layout.text.y + layout.text.height, frameBottom);
    EXPECT_GE(layout.icon.y, frame.y);
    EXPECT_LE(layout.icon.y + layout.icon.height, frameBottom);
    EXPECT_LE(layout.title.y + layout.title.height, frame.y);
    EXPECT_GE(row.buttonTop, frameBottom);
    EXPECT_LT(layout.checkBox.x + layout.checkBox.width, row.x1);
    for (int i = 0; i < 2; ++i) EXPECT_LT(x[i] + row.buttonWidth, x[i + 1]);
    EXPECT_LE(row.x3 + row.buttonWidth, frameRight);
    EXPECT_LT(row.buttonTop + S(25), layout.windowHeight);
    EXPECT_LT(frameRight, layout.windowWidth);
  }
}
