#include "msgbox/message_dlg_rules.h"

#include "msgbox/message_dlg_options.h"

unsigned NormalizeMessageDlgOptions(unsigned options, bool hasCustomCaptions) {
  if (options & MDF_COUNTDOWN) options &= ~kCheckBoxOptions;
  if (!hasCustomCaptions) options &= ~MDF_CUSTOMCAPTIONS;
  return options;
}

unsigned NormalizeDefaultButton(unsigned defaultButtonBits) {
  defaultButtonBits &= kDefaultButtonMask;
  const unsigned both = kDefaultButton2 | kDefaultButton3;
  if ((defaultButtonBits & both) == both) return 0;
  return defaultButtonBits;
}

int DefaultButtonCommand(unsigned defaultButtonBits) {
  defaultButtonBits = NormalizeDefaultButton(defaultButtonBits);
  if (defaultButtonBits & kDefaultButton2) return IDC_MD_BTN2;
  if (defaultButtonBits & kDefaultButton3) return IDC_MD_BTN3;
  return IDC_MD_BTN1;
}

int ResultForCommand(int buttonSet, int commandId) {
  switch (buttonSet) {
    case kButtonSetOk:
      return kResultOk;
    case kButtonSetOkCancel:
      return commandId == IDC_MD_BTN1 ? kResultOk : kResultCancel;
    case kButtonSetYesNoCancel:
      if (commandId == IDC_MD_BTN1) return kResultYes;
      if (commandId == IDC_MD_BTN2) return kResultNo;
      return kResultCancel;
    case kButtonSetYesNo:
      return commandId == IDC_MD_BTN1 ? kResultYes : kResultNo;
    default:
      return commandId;  // no table for this set: the command id itself
  }
}
