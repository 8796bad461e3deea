#include "msgbox/message_dlg_proc_win.h"

#include <windowsx.h>

#include "msgbox/countdown_text.h"
#include "msgbox/message_dlg_dpi_win.h"
#include "msgbox/message_dlg_layout_win.h"
#include "msgbox/message_dlg_options.h"
#include "msgbox/message_dlg_placement_win.h"
#include "msgbox/message_dlg_resources_win.h"
#include "msgbox/message_dlg_rules.h"
#include "msgbox/message_dlg_state_win.h"
#include "msgbox/message_dlg_win.h"
#include "msgbox/title_strip_win.h"

namespace {

HWND CreateControl(const MessageDlgState& state, DWORD exStyle, const char* className,
                   const char* text, DWORD style, int id) {
  return ::CreateWindowExA(exStyle, className, text, style, 0, 0, 0, 0, state.m_hWnd,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), MessageDlgInstance(),
                           nullptr);
}

void SetFont(HWND window, HFONT font) {
  ::SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

void CreateControls(MessageDlgState& state) {
  const DWORD buttonStyle = WS_CHILD | WS_TABSTOP | WS_GROUP | BS_PUSHBUTTON;
  state.m_btn1 =
      CreateControl(state, WS_EX_NOPARENTNOTIFY, "BUTTON", "BTN1", buttonStyle, IDC_MD_BTN1);
  state.m_btn2 =
      CreateControl(state, WS_EX_NOPARENTNOTIFY, "BUTTON", "BTN2", buttonStyle, IDC_MD_BTN2);
  state.m_btn3 =
      CreateControl(state, WS_EX_NOPARENTNOTIFY, "BUTTON", "BTN3", buttonStyle, IDC_MD_BTN3);
  state.m_checkBox = CreateControl(state, 0, "BUTTON", state.m_checkText.c_str(),
                                   WS_CHILD | WS_TABSTOP | BS_AUTOCHECKBOX, IDC_MD_CHECK);
  state.m_frame =
      CreateControl(state, 0, "BUTTON", "", WS_CHILD | WS_VISIBLE | BS_GROUPBOX, IDC_MD_FRAME);
  state.m_iconCtl = CreateControl(state, 0, "STATIC", "",
                                  WS_CHILD | WS_VISIBLE | SS_ICON | SS_CENTERIMAGE, IDC_MD_ICON);
  state.m_textCtl =
      CreateControl(state, 0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_LEFT, IDC_MD_TEXT);
  state.m_titleCtl = CreateControl(state, 0, "STATIC", "", WS_CHILD | WS_BORDER, IDC_MD_TITLE);

  for (HWND control :
       {state.m_btn1, state.m_btn2, state.m_btn3, state.m_checkBox, state.m_textCtl}) {
    SetFont(control, state.m_font);
  }
}

HWND ButtonOfCommand(const MessageDlgState& state, int command) {
  if (command == IDC_MD_BTN2) return state.m_btn2;
  if (command == IDC_MD_BTN3) return state.m_btn3;
  return state.m_btn1;
}

void SetUpMessageDlg(HWND dialog, MessageDlgState& state) {
  state.m_hWnd = dialog;
  state.m_font = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
  SetFont(dialog, state.m_font);
  CreateControls(state);
  // The icon (the module's shared one at 96 DPI) and, at another DPI, the font scaled to it.
  KeepDialogManagerFromScaling(dialog);
  PrepareMessageDlgDpi(state, DpiOfWindow(dialog));
  LayoutMessageDlg(state);
  if (state.m_options & MDF_COUNTDOWN) {
    ::SetTimer(dialog, IDT_MD_COUNTDOWN, kCountdownPeriodMs, nullptr);
  }
  CenterMessageDlg(dialog, state.m_owner);
  state.m_active = ::GetForegroundWindow() == dialog ? 1 : 0;
  ::SetPropA(dialog, kMessageDlgProperty, &state);

  HWND defaultButton = ButtonOfCommand(state, DefaultButtonCommand(state.m_defaultButton));
  ::SetFocus(defaultButton);
  ::SendMessageA(defaultButton, BM_SETSTYLE, BS_DEFPUSHBUTTON, FALSE);
}

// Ends the box with the result of `command`. Only the first ending counts: a tick, a close
// message or a command that arrives after it (two sent messages can be handled within one
// wait of the modal loop) must not replace the result.
void EndMessageDlg(MessageDlgState& state, int command) {
  if (state.m_ended) return;
  state.m_ended = true;
  ::KillTimer(state.m_hWnd, IDT_MD_COUNTDOWN);
  ::EndDialog(state.m_hWnd, ResultForCommand(state.m_buttonSet, command));
}

void OnCommand(MessageDlgState& state, int command) {
  if (state.m_options & MDF_NOBUTTONS) return;
  if (command == IDC_MD_CHECK) {
    if (state.m_checkOut) {
      const LRESULT checked = ::SendMessageA(state.m_checkBox, BM_GETCHECK, 0, 0);
      *state.m_checkOut = checked == BST_CHECKED ? 1 : 0;
    }
    return;
  }
  EndMessageDlg(state, command);
}

void OnCountdownTick(MessageDlgState& state) {
  // Counting stops at zero: a negative start must not be decremented past the int range.
  state.m_countdown = state.m_countdown > 0 ? state.m_countdown - 1 : 0;
  if (state.m_countdown > 0) {
    if (IsCountdownFormat(state.m_text)) ShowMessageDlgText(state);
    return;
  }
  EndMessageDlg(state, DefaultButtonCommand(state.m_defaultButton));
}

INT_PTR HandleMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    MessageDlgState* state = reinterpret_cast<MessageDlgState*>(lParam);
    if (!state) {
      ::EndDialog(dialog, -1);
      return TRUE;
    }
    SetUpMessageDlg(dialog, *state);
    return FALSE;  // the focus was set
  }

  MessageDlgState* state = FindMessageDlgState(dialog);
  if (!state) return FALSE;

  if (message == WM_ZMESSAGEBOX_CLOSE) {
    EndMessageDlg(*state, IDC_MD_BTN1);
    return TRUE;
  }
  switch (message) {
    case WM_COMMAND:
      OnCommand(*state, LOWORD(wParam));
      return TRUE;
    case WM_TIMER:
      if (wParam == IDT_MD_COUNTDOWN && (state->m_options & MDF_COUNTDOWN)) {
        OnCountdownTick(*state);
      }
      return TRUE;
    case WM_CLOSE:
      // FALSE lets the dialog manager turn the close request into the IDCANCEL command.
      return (state->m_options & MDF_NOBUTTONS) ? TRUE : FALSE;
    case WM_PAINT: {
      PaintDc paint(dialog);
      PaintTitleStrip(*state, paint.get());
      return TRUE;
    }
    case WM_ACTIVATE: {
      const WORD how = LOWORD(wParam);
      SetTitleStripActive(*state, how == WA_ACTIVE || how == WA_CLICKACTIVE);
      return FALSE;
    }
    case WM_DPICHANGED: {
      // Moved to a monitor of another DPI: the system suggests where the box goes.
      PrepareMessageDlgDpi(*state, LOWORD(wParam));
      RelayoutMessageDlg(*state, *reinterpret_cast<const RECT*>(lParam));
      return TRUE;
    }
    case WM_NCACTIVATE:
      SetTitleStripActive(*state, wParam != FALSE);
      return FALSE;
    case WM_NCHITTEST: {
      POINT point = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      if (!IsDragPoint(dialog, point)) return FALSE;
      ::SetWindowLongPtrA(dialog, DWLP_MSGRESULT, HTCAPTION);
      return TRUE;
    }
    case WM_DESTROY:
      ::KillTimer(dialog, IDT_MD_COUNTDOWN);
      ::RemovePropA(dialog, kMessageDlgProperty);
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace

INT_PTR CALLBACK MessageDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  try {
    return HandleMessage(dialog, message, wParam, lParam);
  } catch (...) {
    // Out of memory while copying a text. A box that could not be set up would have no
    // object and could never be closed: it ends at once with the failure value.
    if (message == WM_INITDIALOG) ::EndDialog(dialog, -1);
    return FALSE;
  }
}
