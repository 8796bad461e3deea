// Option bits, button sets, control ids and result codes of the message box, as plain
// numbers so that the portable rules (layout, results, captions) can use them without
// <windows.h>. The values are those of the platform's message-box constants; the Windows
// side checks that with static_asserts.
#pragma once

// Option bits of ShowMessageDlg.
constexpr unsigned MDF_COUNTDOWN = 0x01;         // value = seconds; the box closes itself
constexpr unsigned MDF_NOBUTTONS = 0x02;         // no buttons; the user cannot close the box
constexpr unsigned MDF_CUSTOMCAPTIONS = 0x04;    // captions = comma-separated button captions
constexpr unsigned MDF_CHECKBOX = 0x08;          // value = check box text; starts clear
constexpr unsigned MDF_CHECKBOX_CHECKED = 0x10;  // as MDF_CHECKBOX, starts checked
constexpr unsigned kCheckBoxOptions = MDF_CHECKBOX | MDF_CHECKBOX_CHECKED;

// Button sets: the low four bits of the type argument (MB_OK, MB_OKCANCEL, ...).
constexpr unsigned kButtonSetMask = 0x0F;
constexpr int kButtonSetOk = 0;
constexpr int kButtonSetOkCancel = 1;
constexpr int kButtonSetYesNoCancel = 3;
constexpr int kButtonSetYesNo = 4;

// Default button: bits 8 to 11 of the type argument (MB_DEFBUTTON2, MB_DEFBUTTON3).
constexpr unsigned kDefaultButtonMask = 0xF00;
constexpr unsigned kDefaultButton2 = 0x100;
constexpr unsigned kDefaultButton3 = 0x200;

// Dialog results (IDOK, IDCANCEL, IDYES, IDNO).
constexpr int kResultOk = 1;
constexpr int kResultCancel = 2;
constexpr int kResultYes = 6;
constexpr int kResultNo = 7;

// Control ids of the box.
constexpr int IDC_MD_BTN1 = 10;
constexpr int IDC_MD_BTN2 = 20;
constexpr int IDC_MD_BTN3 = 30;
constexpr int IDC_MD_CHECK = 40;
constexpr int IDC_MD_FRAME = 25;
constexpr int IDC_MD_ICON = 26;
constexpr int IDC_MD_TEXT = 27;
constexpr int IDC_MD_TITLE = 28;

// The countdown timer.
constexpr unsigned IDT_MD_COUNTDOWN = 1;
constexpr unsigned kCountdownPeriodMs = 1000;
