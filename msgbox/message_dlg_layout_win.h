// Measuring the message box's texts and laying out its window and controls, once, during
// WM_INITDIALOG on the box's thread.
#pragma once

#include <windows.h>

#include <string>

struct MessageDlgState;

// Height of all lines of `text` (1 + the number of "\n") in the font selected into dc.
int MeasureTextHeight(HDC dc, const std::string& text);
// Width of the widest non-empty line of `text` in the font selected into dc; 0 for none.
int MeasureTextWidth(HDC dc, const std::string& text);

// Measures, sizes the window, places and shows the controls, sets the button captions and
// the text, and prepares both title strips. Needs the controls created and m_font set.
void LayoutMessageDlg(MessageDlgState& state);
// The same again at the state's new DPI (m_font and m_dpi already set for it), keeping the
// check box's state, with the window's top-left corner moved to the suggested one.
void RelayoutMessageDlg(MessageDlgState& state, const RECT& suggested);

// Shows the box's text: formatted with the seconds left under MDF_COUNTDOWN when the text is
// a countdown format, as it stands otherwise.
void ShowMessageDlgText(const MessageDlgState& state);
