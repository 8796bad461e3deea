// The message box's decisions that need no window: which input combinations are accepted,
// which button is the default one, and what result a command gives. Portable.
#pragma once

// Removes what cannot be honoured from the option bits:
// - MDF_COUNTDOWN reads the value argument as seconds, the check box bits as a pointer to
//   the check box text; together the value would be both, so the check box bits are dropped
//   and the value is never followed as a pointer.
// - MDF_CUSTOMCAPTIONS without a captions string is dropped: the language's captions stay.
unsigned NormalizeMessageDlgOptions(unsigned options, bool hasCustomCaptions);

// The default-button bits (type AND 0xF00) as the box uses them: both MB_DEFBUTTON2 and
// MB_DEFBUTTON3 at once name no button, so the first button is the default, as without
// any bit.
unsigned NormalizeDefaultButton(unsigned defaultButtonBits);

// The command id of the default button (IDC_MD_BTN1/2/3): the button that receives the
// focus and the one the countdown presses.
int DefaultButtonCommand(unsigned defaultButtonBits);

// The dialog result of a command that ends the box in a box with this button set.
// The check box command never ends the box and is not passed here.
int ResultForCommand(int buttonSet, int commandId);
