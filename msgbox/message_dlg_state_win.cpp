#include "msgbox/message_dlg_state_win.h"

#include <utility>

#include "msgbox/message_dlg_options.h"
#include "msgbox/message_dlg_rules.h"

MessageDlgState::MessageDlgState()
    : m_activeDC(::CreateCompatibleDC(nullptr)), m_inactiveDC(::CreateCompatibleDC(nullptr)) {}

MessageDlgState::~MessageDlgState() {
  // A bitmap still selected into a DC cannot be deleted: the DCs go first.
  m_activeDC.reset();
  m_inactiveDC.reset();
}

void InitMessageDlgState(MessageDlgState& state, HWND owner, std::string text,
                         std::string caption, UINT type, UINT options, LPARAM value,
                         const char* captions, int* checkOut) {
  state.m_owner = owner;
  state.m_text = std::move(text);
  state.m_caption = std::move(caption);
  state.m_defaultButton = NormalizeDefaultButton(type & kDefaultButtonMask);
  state.m_buttonSet = static_cast<int>(type & kButtonSetMask);
  const unsigned requested = options;
  options = NormalizeMessageDlgOptions(requested, captions != nullptr);
  state.m_options = options;
  state.m_checkOut = checkOut;
  // A check box that was asked for but dropped (beside a countdown) reads as clear.
  if ((requested & kCheckBoxOptions) && !(options & kCheckBoxOptions) && checkOut) *checkOut = 0;

  if (options & MDF_COUNTDOWN) state.m_countdown = static_cast<int>(value);

  if (options & MDF_CUSTOMCAPTIONS) {
    state.m_captions = SplitCustomCaptions(captions);
  } else if (!CaptionsOfLanguageInUse(state.m_buttonSet, state.m_captions)) {
    state.m_captions = CaptionsForButtonSet(state.m_buttonSet, ::GetUserDefaultLangID());
  }

  if (options & kCheckBoxOptions) {
    // A null text pointer shows no check box, like an empty text.
    const char* checkText = reinterpret_cast<const char*>(value);
    state.m_checkText = checkText ? checkText : "";
    if (checkOut) {
      if (options & MDF_CHECKBOX) *checkOut = 0;
      if (options & MDF_CHECKBOX_CHECKED) *checkOut = 1;
    }
  }
}

MessageDlgState* FindMessageDlgState(HWND dialog) {
  return static_cast<MessageDlgState*>(::GetPropA(dialog, kMessageDlgProperty));
}
