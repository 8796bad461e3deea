// MessageDlgState: the object of one open message box. ShowMessageDlg owns it for the life
// of the box; the dialog finds it through the window property "MessageDlg". It owns the two
// memory DCs and the two title strip bitmaps; the window handles belong to the dialog.
// Used only on the box's thread.
#pragma once

#include <windows.h>

#include <string>

#include "common/unique_handle_win.h"
#include "msgbox/button_captions.h"

constexpr char kMessageDlgProperty[] = "MessageDlg";

struct IconTraits {  // icons loaded at a size of our own (LoadImage without LR_SHARED)
  using Handle = HICON;
  static Handle Empty() { return nullptr; }
  static void Close(Handle handle) { ::DestroyIcon(handle); }
};
using UniqueIcon = UniqueHandle<IconTraits>;

struct MessageDlgState {
  MessageDlgState();   // creates the two memory DCs (compatible with the screen)
  ~MessageDlgState();  // deletes the DCs before their bitmaps, so no bitmap is left selected
  MessageDlgState(const MessageDlgState&) = delete;
  MessageDlgState& operator=(const MessageDlgState&) = delete;

  HWND m_hWnd = nullptr;
  HWND m_owner = nullptr;
  std::string m_caption;
  std::string m_text;  // unformatted: under MDF_COUNTDOWN it is the format
  int m_buttonSet = 0;
  unsigned m_options = 0;
  UniqueMemoryDc m_activeDC;
  UniqueBitmap m_activeBitmap;
  UniqueMemoryDc m_inactiveDC;
  UniqueBitmap m_inactiveBitmap;
  int m_stripWidth = 0;
  int m_stripHeight = 0;
  HFONT m_font = nullptr;  // stock DEFAULT_GUI_FONT, not owned
  int m_countdown = 0;
  unsigned m_defaultButton = 0;
  int m_active = 1;
  int* m_checkOut = nullptr;
  HWND m_btn1 = nullptr;
  HWND m_btn2 = nullptr;
  HWND m_btn3 = nullptr;
  HWND m_frame = nullptr;
  HWND m_iconCtl = nullptr;
  HWND m_textCtl = nullptr;
  HWND m_titleCtl = nullptr;
  ButtonCaptions m_captions;
  HWND m_checkBox = nullptr;
  std::string m_checkText;
  int m_dpi = 96;                     // of the box's monitor
  UniqueGdiObject m_scaledFont;       // the font at m_dpi when the stock one is not
  UniqueIcon m_scaledIcon;            // the icon at m_dpi other than 96
  bool m_stripCaptionReady = false;   // the blank (and "APP") are in front of m_caption
  COLORREF m_inactiveColors[3] = {};  // read once, at the first drawing of the strips
  bool m_ended = false;  // EndDialog was called: later commands, ticks and close requests
                         // must not replace the result
};

// Fills the object from ShowMessageDlg's arguments and writes the check box's starting
// state to checkOut. Options that cannot be honoured are dropped first
// (NormalizeMessageDlgOptions).
void InitMessageDlgState(MessageDlgState& state, HWND owner, std::string text, std::string caption,
                         UINT type, UINT options, LPARAM value, const char* captions,
                         int* checkOut);

// The object attached to a box window, or null.
MessageDlgState* FindMessageDlgState(HWND dialog);
