// Sizes and positions of the message box's window and controls, computed from the measured
// text and captions. The Windows side measures with the box's font and applies the result;
// this arithmetic is portable so it can be checked without a screen. All lengths in pixels.
#pragma once

#include <array>
#include <string>
#include <vector>

// What the box measured, in the font the controls use.
struct MessageDlgMeasures {
  int textHeight = 0;                  // all lines of the text
  int textWidth = 0;                   // widest line of the text
  std::array<int, 3> captionWidths{};  // BTN1..BTN3 captions, "&" marks included
  std::array<bool, 3> hasCaption{};    // an empty BTN2/BTN3 caption takes no room
  int checkTextWidth = 0;
  bool hasCheckBox = false;  // a check box bit and a non-empty check box text
  bool noButtons = false;    // MDF_NOBUTTONS
  int buttonSet = 0;         // type AND 0xF
  int dpi = 96;              // of the box's monitor: 96 is the specified layout
};

struct ControlPlace {  // client coordinates
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

struct MessageDlgLayout {
  int contentWidth = 0;   // the width rule's result (W)
  int contentHeight = 0;  // the text height, at least 32 (H)
  int windowWidth = 0;    // outer size, frame included
  int windowHeight = 0;
  ControlPlace frame;
  ControlPlace icon;
  ControlPlace text;
  ControlPlace title;  // the title strip's rectangle
  std::array<ControlPlace, 3> buttons;
  std::array<bool, 3> buttonShown{};
  ControlPlace checkBox;
  bool checkBoxShown = false;
  int stripWidth = 0;
  int stripHeight = 0;
};

// The box's sizes are given at 96 DPI; at another DPI each of them is scaled by dpi / 96
// (rounded), while the measured text and captions come in the pixels of the font at that DPI.
MessageDlgLayout ComputeMessageDlgLayout(const MessageDlgMeasures& measures);

// A length of the 96-DPI layout at `dpi`, rounded to the nearest pixel.
int ScaleForDpi(int length, int dpi);

// Lines of a text for measuring: 1 + the number of "\n" (empty lines count toward the
// height), and the non-empty lines split multibyte-aware at "\n" (a "\r" stays in its line).
int TextLineCount(const std::string& text);
std::vector<std::string> TextLinesForWidth(const std::string& text);
