#include "msgbox/message_dlg_dpi_win.h"

#include "common/unique_handle_win.h"
#include "msgbox/message_dlg_layout.h"
#include "msgbox/message_dlg_resources_win.h"
#include "msgbox/message_dlg_state_win.h"

namespace {

template <typename Function>
Function User32Function(const char* name) {
  HMODULE user32 = ::GetModuleHandleA("user32.dll");
  return user32
             ? reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(user32, name)))
             : nullptr;
}

// The DPI the stock objects were made for: the system DPI of the process.
int ScreenDpi() {
  HDC screen = ::GetDC(nullptr);
  const int dpi = screen ? ::GetDeviceCaps(screen, LOGPIXELSY) : 96;
  if (screen) ::ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : 96;
}

}  // namespace

int DpiOfWindow(HWND window) {
  using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
  static const auto getDpiForWindow = User32Function<GetDpiForWindowFunction>("GetDpiForWindow");
  const int dpi = getDpiForWindow ? static_cast<int>(getDpiForWindow(window)) : 0;
  return dpi > 0 ? dpi : ScreenDpi();
}

void PrepareMessageDlgDpi(MessageDlgState& state, int dpi) {
  state.m_dpi = dpi;
  HGDIOBJ stockFont = ::GetStockObject(DEFAULT_GUI_FONT);
  const int screenDpi = ScreenDpi();
  // The controls still hold the previous font until they are given the new one.
  UniqueGdiObject previousFont(state.m_scaledFont.release());
  const HFONT previous = state.m_font;
  state.m_font = static_cast<HFONT>(stockFont);
  if (dpi != screenDpi) {
    LOGFONTA font{};
    if (::GetObjectA(stockFont, sizeof font, &font) == sizeof font) {
      font.lfHeight = ::MulDiv(font.lfHeight, dpi, screenDpi);
      font.lfWidth = ::MulDiv(font.lfWidth, dpi, screenDpi);
      state.m_scaledFont.reset(::CreateFontIndirectA(&font));
      if (state.m_scaledFont) state.m_font = static_cast<HFONT>(state.m_scaledFont.get());
    }
  }
  if (state.m_font != previous) {
    for (HWND window : {state.m_hWnd, state.m_btn1, state.m_btn2, state.m_btn3, state.m_checkBox,
                        state.m_textCtl}) {
      if (window) ::SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(state.m_font), FALSE);
    }
  }

  // 96 DPI: the shared icon of the system's size, as always. Otherwise one drawn for the
  // scaled 32-pixel square, owned by the state.
  UniqueIcon previousIcon(state.m_scaledIcon.release());
  HICON icon = nullptr;
  if (dpi == 96) {
    icon = ::LoadIconA(MessageDlgInstance(), MAKEINTRESOURCEA(MessageDlgIconId()));
  } else {
    const int size = ScaleForDpi(32, dpi);
    state.m_scaledIcon.reset(static_cast<HICON>(::LoadImageA(
        MessageDlgInstance(), MAKEINTRESOURCEA(MessageDlgIconId()), IMAGE_ICON, size, size, 0)));
    icon = state.m_scaledIcon.get();
  }
  // When it cannot be loaded the icon static stays empty. The static does not own its icon:
  // the one it held before is the state's to release, once the new one is in.
  if (icon && state.m_iconCtl)
    ::SendMessageA(state.m_iconCtl, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
  previousIcon.reset();
}

void KeepDialogManagerFromScaling(HWND dialog) {
  // DIALOG_DPI_CHANGE_BEHAVIORS: DDC_DISABLE_ALL = 1.
  using SetBehaviorFunction = BOOL(WINAPI*)(HWND, int, int);
  static const auto setBehavior = User32Function<SetBehaviorFunction>("SetDialogDpiChangeBehavior");
  if (setBehavior) setBehavior(dialog, 1, 1);
}
