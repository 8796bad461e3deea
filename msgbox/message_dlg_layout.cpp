#include "msgbox/message_dlg_layout.h"

#include <algorithm>

#include "common/text.h"
#include "msgbox/message_dlg_options.h"

namespace {

constexpr int kMinimumTextWidth = 50;
constexpr int kMinimumContentWidth = 230;
constexpr int kMinimumContentHeight = 32;
constexpr int kMinimumButtonWidth = 70;
constexpr int kButtonPadding = 10;
constexpr int kCheckBoxPadding = 20;
constexpr int kButtonHeight = 25;
constexpr int kButtonGap = 5;
constexpr int kStripHeight = 20;

int ButtonWidth(int captionWidth) {
  return std::max(captionWidth + kButtonPadding, kMinimumButtonWidth);
}

}  // namespace

MessageDlgLayout ComputeMessageDlgLayout(const MessageDlgMeasures& measures) {
  const int textHeight = measures.textHeight;
  const int textWidth = std::max(measures.textWidth, kMinimumTextWidth);
  const int b1W = ButtonWidth(measures.captionWidths[0]);
  const int b2W = measures.hasCaption[1] ? ButtonWidth(measures.captionWidths[1]) : 0;
  const int b3W = measures.hasCaption[2] ? ButtonWidth(measures.captionWidths[2]) : 0;
  const int cbW = measures.hasCheckBox ? measures.checkTextWidth + kCheckBoxPadding : 0;
  const int W = std::max({textWidth + 70, kMinimumContentWidth, b1W + b2W + b3W + cbW + 25});
  const int H = std::max(textHeight, kMinimumContentHeight);

  MessageDlgLayout layout;
  layout.contentWidth = W;
  layout.contentHeight = H;
  layout.windowWidth = W + 20;
  layout.windowHeight = measures.noButtons ? H + 85 : H + 110;

  layout.frame = {7, 30, W, H + 32};
  layout.icon = {17, 30 + (H + 8) / 2, 32, 32};
  layout.text = {59, 30 + (H + 40 - textHeight) / 2, W - 62, textHeight};
  layout.title = {5, 5, W + 5, kStripHeight};

  // Right-aligned: the rightmost present button ends at W + 2.
  const int buttonTop = H + 75;
  const int x3 = b3W != 0 ? W + 2 - b3W : W + 7;
  const int x2 = (b2W == 0 && b3W == 0) ? W + 7 : x3 - b2W - kButtonGap;
  const int x1 = x2 - b1W - kButtonGap;
  layout.buttons[0] = {x1, buttonTop, b1W, kButtonHeight};
  layout.buttons[1] = {x2, buttonTop, b2W, kButtonHeight};
  layout.buttons[2] = {x3, buttonTop, b3W, kButtonHeight};
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
    layout.checkBox = {10, buttonTop, cbW, kButtonHeight};
    layout.checkBoxShown = true;
  }
  layout.stripWidth = W + 5;
  layout.stripHeight = kStripHeight;
  return layout;
}

int TextLineCount(const std::string& text) {
  return 1 + static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

std::vector<std::string> TextLinesForWidth(const std::string& text) {
  return Tokenize(text, "\n");
}
