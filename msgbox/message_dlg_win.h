// The system's own modal message box: language-dependent button captions, an optional
// countdown, an optional check box, a mode the user cannot close, and a registered message
// that closes an open box from any thread or process. Call on a thread that may own windows;
// the call returns when the box has closed.
#pragma once

#include <windows.h>

#include <string>

#include "msgbox/message_dlg_options.h"  // MDF_* option bits

// Shows the box and returns IDOK, IDCANCEL, IDYES or IDNO (for button sets other than
// MB_OK, MB_OKCANCEL, MB_YESNO, MB_YESNOCANCEL: the command id that ended it), or -1 when
// the box could not be created (0 when the owner is not a valid window).
//   owner     disabled while the box is open; the box is centred over it when visible
//   text      lines separated by "\n"; with MDF_COUNTDOWN a format with one "%d"
//   type      button set (low four bits) and MB_DEFBUTTON2/MB_DEFBUTTON3
//   options   MDF_* bits
//   value     MDF_COUNTDOWN: seconds; MDF_CHECKBOX(_CHECKED): const char* check box text
//   captions  MDF_CUSTOMCAPTIONS: comma-separated captions of BTN1, BTN2, BTN3
//   checkOut  may be null; receives the check box state (1 checked, 0 clear)
// Combinations that cannot be honoured are narrowed, never followed blindly:
//   MDF_COUNTDOWN with a check box bit: value is the seconds, no check box is shown and
//     checkOut (when given) receives 0;
//   MB_DEFBUTTON2 | MB_DEFBUTTON3: the first button is the default (focus and countdown);
//   MDF_CUSTOMCAPTIONS with null captions: the language's captions are used;
//   a check box bit with a null text pointer: no check box, as with an empty text;
//   MDF_COUNTDOWN with a text that is not exactly one "%d" (plus "%%"): shown unformatted.
int ShowMessageDlg(HWND owner, std::string text, std::string caption, UINT type,
                   UINT options, LPARAM value, const char* captions, int* checkOut);

// Module that holds the icon (and owns the dialogs) and the icon resource id of every
// later box. Defaults: the program's own module and icon 102. Call before the first box.
void SetMessageDlgResources(HINSTANCE instance, int iconId);

// "WM_ZMESSAGEBOX_CLOSE", registered at static initialisation: sent or posted to an open
// box it closes the box as a click on its first button would, also under MDF_NOBUTTONS.
extern const UINT WM_ZMESSAGEBOX_CLOSE;
