// The message box's title strip, which takes the place of a caption bar: a horizontal colour
// ramp with the caption on it, drawn once into an active and an inactive bitmap and then
// only copied onto the box. Also the box's answers to activation changes and hit tests.
// Box thread only.
#pragma once

#include <windows.h>

struct MessageDlgState;

// Fills (0, 0)-(width, height) of dc with a ramp from `from` (left) to `to`; nothing for a
// width of 0 or less.
void FillHorizontalGradient(HDC dc, int width, int height, COLORREF from, COLORREF to);

// Draws both strips into their bitmaps (the inactive one in the system colours of this
// moment) and puts one blank in front of m_caption ("APP" when it is empty).
void DrawTitleStrips(MessageDlgState& state);

// Copies the strip that m_active selects onto the box through dc, at the rectangle of the
// hidden title placeholder.
void PaintTitleStrip(const MessageDlgState& state, HDC dc);

// Switches the strip when the activation state changes and repaints it at once.
void SetTitleStripActive(MessageDlgState& state, bool active);

// True when the screen point lies in the box's client area: the box answers HTCAPTION there
// so that a press anywhere on its surface drags it.
bool IsDragPoint(HWND dialog, POINT screenPoint);
