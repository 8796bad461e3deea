#include "msgbox/message_dlg_layout.h"

#include <algorithm>

#include "common/text.h"
#include "msgbox/message_dlg_options.h"

namespace {

constexpr int kBaseDpi = 96;

// Every length of the layout at 96 DPI, in pixels.
constexpr int kMinimumTextWidth = 50;
constexpr int kMinimumContentWidth = 230;
constexpr int kMinimumContentHeight = 32;
constexpr int kMinimumButtonWidth = 70;
constexpr int kButtonPadding = 10;
constexpr int kCheckBoxPadding = 20;
constexpr int kButtonHeight = 25;
constexpr int kButtonGap = 5;
constexpr int kStripHeight = 20;
constexpr int kTextRoom = 70;     // icon and margins beside the text
constexpr int kButtonsRoom = 25;  // margins beside the row of buttons and the check box
constexpr int kWindowFrame = 20;  // outer width beyond W
constexpr int kWindowBelowText = 110;
constexpr int kWindowBelowTextWithoutButtons = 85;
constexpr int kMargin = 5;  // the strip's left and top, the right margin of buttons
constexpr int kFrameLeft = 7;
constexpr int kFrameTop = 30;
constexpr int kFrameBelowText = 32;
constexpr int kIconLeft = 17;
constexpr int kIconSize = 32;
constexpr int kTextLeft = 59;
constexpr int kTextRightRoom = 62;
constexpr int kButtonsBelowText = 75;
constexpr int kCheckBoxLeft = 10;

}  // namespace

int ScaleForDpi(int length, int dpi) {
  if (dpi == kBaseDpi) return length;
  const long long scaled = static_cast<long long>(length) * dpi;
  return static_cast<int>((scaled + (scaled >= 0 ? kBaseDpi / 2 : -kBaseDpi / 2)) / kBaseDpi);
}

MessageDlgLayout ComputeMessageDlgLayout(const MessageDlgMeasures& measures) {
  const int dpi = measures.dpi > 0 ? measures.dpi : kBaseDpi;
  auto S = [dpi](int length) { return ScaleForDpi(length, dpi); };
  auto buttonWidth = [&](int captionWidth) {
    return std::max(captionWidth + S(kButtonPadding), S(kMinimumButtonWidth));
  };

  const int textHeight = measures.textHeight;
  const int textWidth = std::max(measures.textWidth, S(kMinimumTextWidth));
  const int b1W = buttonWidth(measures.captionWidths[0]);
  const int b2W = measures.hasCaption[1] ? buttonWidth(measures.captionWidths[1]) : 0;
  const int b3W = measures.hasCaption[2] ? buttonWidth(measures.captionWidths[2]) : 0;
  const int cbW = measures.hasCheckBox ? measures.checkTextWidth + S(kCheckBoxPadding) : 0;
  const int W = std::max(
      {textWidth + S(kTextRoom), S(kMinimumContentWidth), b1W + b2W + b3W + cbW + S(kButtonsRoom)});
  const int H = std::max(textHeight, S(kMinimumContentHeight));
  const int gap = S(kButtonGap);

  MessageDlgLayout layout;
  layout.contentWidth = W;
  layout.contentHeight = H;
  layout.windowWidth = W + S(kWindowFrame);
  layout.windowHeight =
      H + (measures.noButtons ? S(kWindowBelowTextWithoutButtons) : S(kWindowBelowText));

  const int frameTop = S(kFrameTop);
  const int frameHeight = H + S(kFrameBelowText);
  const int iconSize = S(kIconSize);
  layout.frame = {S(kFrameLeft), frameTop, W, frameHeight};
  // At 96 DPI (H + 8) / 2 and (H + 40 - textHeight) / 2 below the frame's top.
  layout.icon = {S(kIconLeft), frameTop + (H + S(8)) / 2, iconSize, iconSize};
  layout.text = {S(kTextLeft), frameTop + (frameHeight + S(8) - textHeight) / 2,
                 W - S(kTextRightRoom), textHeight};
  layout.title = {S(kMargin), S(kMargin), W + S(kMargin), S(kStripHeight)};

  // Right-aligned: the rightmost present button ends at W + 2 (scaled: W + 7 less the margin).
  const int buttonTop = H + S(kButtonsBelowText);
  const int rowEnd = W + S(kFrameLeft);
  const int x3 = b3W != 0 ? rowEnd - S(kMargin) - b3W : rowEnd;
  const int x2 = (b2W == 0 && b3W == 0) ? rowEnd : x3 - b2W - gap;
  const int x1 = x2 - b1W - gap;
  const int buttonHeight = S(kButtonHeight);
  layout.buttons[0] = {x1, buttonTop, b1W, buttonHeight};
  layout.buttons[1] = {x2, buttonTop, b2W, buttonHeight};
  layout.buttons[2] = {x3, buttonTop, b3W, buttonHeight};
  if (!measures.noButtons) {
    switch (measures.buttonSet) {
      case kButtonSetOk:
        layout.buttonShown = {true, false, false};
        break;
      case kButtonSetOkCancel:
      case kButtonSetYesNo:
        layout.buttonShown = {true, true, false};
        break;
      case kButtonSetYesNoCancel:
        layout.buttonShown = {true, true, true};
        break;
      default:
        break;
    }
  }

  if (cbW != 0) {
    layout.checkBox = {S(kCheckBoxLeft), buttonTop, cbW, buttonHeight};
    layout.checkBoxShown = true;
  }
  layout.stripWidth = layout.title.width;
  layout.stripHeight = layout.title.height;
  return layout;
}

int TextLineCount(const std::string& text) {
  return 1 + static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

std::vector<std::string> TextLinesForWidth(const std::string& text) {
  return Tokenize(text, "\n");
}
