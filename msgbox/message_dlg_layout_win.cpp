#include "msgbox/message_dlg_layout_win.h"

#include <utility>

#include "common/unique_handle_win.h"
#include "msgbox/countdown_text.h"
#include "msgbox/message_dlg_layout.h"
#include "msgbox/message_dlg_options.h"
#include "msgbox/message_dlg_state_win.h"
#include "msgbox/title_strip_win.h"

namespace {

void PlaceControl(HWND control, const ControlPlace& place) {
  ::MoveWindow(control, place.x, place.y, place.width, place.height, TRUE);
}

}  // namespace

int MeasureTextHeight(HDC dc, const std::string& text) {
  TEXTMETRICA metrics{};
  if (!::GetTextMetricsA(dc, &metrics)) return 0;
  return TextLineCount(text) * metrics.tmHeight;
}

int MeasureTextWidth(HDC dc, const std::string& text) {
  int widest = 0;
  for (const std::string& line : TextLinesForWidth(text)) {
    SIZE size{};
    if (::GetTextExtentPoint32A(dc, line.data(), static_cast<int>(line.size()), &size) &&
        size.cx > widest) {
      widest = size.cx;
    }
  }
  return widest;
}

void ShowMessageDlgText(const MessageDlgState& state) {
  if (state.m_options & MDF_COUNTDOWN) {
    ::SetWindowTextA(state.m_textCtl, CountdownText(state.m_text, state.m_countdown).c_str());
  } else {
    ::SetWindowTextA(state.m_textCtl, state.m_text.c_str());
  }
}

namespace {

// Measures, sizes the window, places and shows the controls and prepares the strips. The
// first layout also sets the check box's starting state; later ones (a new DPI) keep it.
void PlaceMessageDlg(MessageDlgState& state, bool firstLayout) {
  WindowDc dialogDc(state.m_hWnd);
  MessageDlgMeasures measures;
  measures.dpi = state.m_dpi;
  {
    SelectGuard font(dialogDc.get(), state.m_font);
    measures.textHeight = MeasureTextHeight(dialogDc.get(), state.m_text);
    measures.textWidth = MeasureTextWidth(dialogDc.get(), state.m_text);
    for (size_t i = 0; i < state.m_captions.size(); ++i) {
      measures.captionWidths[i] = MeasureTextWidth(dialogDc.get(), state.m_captions[i]);
      measures.hasCaption[i] = !state.m_captions[i].empty();
    }
    measures.hasCheckBox = (state.m_options & kCheckBoxOptions) && !state.m_checkText.empty();
    if (measures.hasCheckBox) {
      measures.checkTextWidth = MeasureTextWidth(dialogDc.get(), state.m_checkText);
    }
  }
  measures.noButtons = (state.m_options & MDF_NOBUTTONS) != 0;
  measures.buttonSet = state.m_buttonSet;
  const MessageDlgLayout layout = ComputeMessageDlgLayout(measures);

  ::SetWindowPos(state.m_hWnd, nullptr, 0, 0, layout.windowWidth, layout.windowHeight,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  PlaceControl(state.m_frame, layout.frame);
  PlaceControl(state.m_iconCtl, layout.icon);
  PlaceControl(state.m_textCtl, layout.text);
  PlaceControl(state.m_titleCtl, layout.title);

  const HWND buttons[3] = {state.m_btn1, state.m_btn2, state.m_btn3};
  for (size_t i = 0; i < 3; ++i) {
    if (measures.noButtons) {
      ::EnableWindow(buttons[i], FALSE);
      continue;
    }
    if (!layout.buttonShown[i]) continue;
    PlaceControl(buttons[i], layout.buttons[i]);
    ::SetWindowTextA(buttons[i], state.m_captions[i].c_str());
    ::ShowWindow(buttons[i], SW_SHOW);
  }

  ShowMessageDlgText(state);

  if (layout.checkBoxShown) {
    if (firstLayout && (state.m_options & MDF_CHECKBOX_CHECKED)) {
      ::SendMessageA(state.m_checkBox, BM_SETCHECK, BST_CHECKED, 0);
    }
    PlaceControl(state.m_checkBox, layout.checkBox);
    ::ShowWindow(state.m_checkBox, SW_SHOW);
  }

  state.m_stripWidth = layout.stripWidth;
  state.m_stripHeight = layout.stripHeight;
  UniqueBitmap active(
      ::CreateCompatibleBitmap(dialogDc.get(), state.m_stripWidth, state.m_stripHeight));
  UniqueBitmap inactive(
      ::CreateCompatibleBitmap(dialogDc.get(), state.m_stripWidth, state.m_stripHeight));
  // The DCs' original 1x1 bitmaps are stock objects: they need not be put back. A bitmap of
  // an earlier layout is deleted only once the new one has taken its place in the DC.
  ::SelectObject(state.m_activeDC.get(), active.get());
  ::SelectObject(state.m_inactiveDC.get(), inactive.get());
  state.m_activeBitmap = std::move(active);
  state.m_inactiveBitmap = std::move(inactive);
  DrawTitleStrips(state);
}

}  // namespace

void LayoutMessageDlg(MessageDlgState& state) {
  PlaceMessageDlg(state, true);
}

void RelayoutMessageDlg(MessageDlgState& state, const RECT& suggested) {
  PlaceMessageDlg(state, false);
  ::SetWindowPos(state.m_hWnd, nullptr, suggested.left, suggested.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  ::InvalidateRect(state.m_hWnd, nullptr, TRUE);
}
