#include "msgbox/title_strip_win.h"

#include "common/unique_handle_win.h"
#include "msgbox/message_dlg_state_win.h"
#include "msgbox/title_strip_gradient.h"

namespace {

// System colour 28: the second colour of the inactive caption gradient.
constexpr int kInactiveCaptionGradient = 28;

RgbColor ToRgb(COLORREF color) {
  return {GetRValue(color), GetGValue(color), GetBValue(color)};
}

void DrawCaption(HDC dc, const MessageDlgState& state, COLORREF textColor) {
  SelectGuard font(dc, state.m_font);  // the stock DEFAULT_GUI_FONT at 96 DPI
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, textColor);
  RECT strip = {0, 0, state.m_stripWidth, state.m_stripHeight};
  ::DrawTextA(dc, state.m_caption.data(), static_cast<int>(state.m_caption.size()), &strip,
              DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_LEFT);
}

}  // namespace

void FillHorizontalGradient(HDC dc, int width, int height, COLORREF from, COLORREF to) {
  if (width <= 0) return;
  const RgbColor start = ToRgb(from);
  const RgbColor end = ToRgb(to);
  for (int column = 0; column < width; ++column) {
    const RgbColor color = GradientColumnColor(start, end, column, width);
    ::SetBkColor(dc, RGB(color.red, color.green, color.blue));
    RECT band = {column, 0, column + 1, height};
    ::ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &band, "", 0, nullptr);
  }
}

void DrawTitleStrips(MessageDlgState& state) {
  // Read once: a later system colour change does not alter the strip of an open box, also
  // when it is drawn anew for another DPI. The caption gets its blank once too.
  if (!state.m_stripCaptionReady) {
    state.m_inactiveColors[0] = ::GetSysColor(COLOR_INACTIVECAPTION);
    state.m_inactiveColors[1] = ::GetSysColor(kInactiveCaptionGradient);
    state.m_inactiveColors[2] = ::GetSysColor(COLOR_INACTIVECAPTIONTEXT);
    if (state.m_caption.empty()) state.m_caption = "APP";
    state.m_caption.insert(0, 1, ' ');
    state.m_stripCaptionReady = true;
  }
  const COLORREF inactiveFrom = state.m_inactiveColors[0];
  const COLORREF inactiveTo = state.m_inactiveColors[1];
  const COLORREF inactiveText = state.m_inactiveColors[2];

  FillHorizontalGradient(state.m_activeDC.get(), state.m_stripWidth, state.m_stripHeight,
                         RGB(0, 0, 100), RGB(140, 161, 255));
  FillHorizontalGradient(state.m_inactiveDC.get(), state.m_stripWidth, state.m_stripHeight,
                         inactiveFrom, inactiveTo);

  DrawCaption(state.m_activeDC.get(), state, RGB(255, 255, 255));
  DrawCaption(state.m_inactiveDC.get(), state, inactiveText);
}

void PaintTitleStrip(const MessageDlgState& state, HDC dc) {
  RECT placeholder{};
  if (!::GetWindowRect(state.m_titleCtl, &placeholder)) return;
  POINT corner = {placeholder.left, placeholder.top};
  ::ScreenToClient(state.m_hWnd, &corner);
  HDC source = state.m_active ? state.m_activeDC.get() : state.m_inactiveDC.get();
  ::BitBlt(dc, corner.x, corner.y, placeholder.right - placeholder.left,
           placeholder.bottom - placeholder.top, source, 0, 0, SRCCOPY);
}

void SetTitleStripActive(MessageDlgState& state, bool active) {
  const int newState = active ? 1 : 0;
  if (newState == state.m_active) return;
  state.m_active = newState;
  WindowDc dialogDc(state.m_hWnd);
  if (dialogDc) PaintTitleStrip(state, dialogDc.get());
}

bool IsDragPoint(HWND dialog, POINT screenPoint) {
  RECT client{};
  if (!::GetClientRect(dialog, &client)) return false;
  POINT topLeft = {client.left, client.top};
  POINT bottomRight = {client.right, client.bottom};
  ::ClientToScreen(dialog, &topLeft);
  ::ClientToScreen(dialog, &bottomRight);
  RECT screen = {topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
  return ::PtInRect(&screen, screenPoint) != FALSE;
}
