#include "msgbox/message_dlg_win.h"

#include <utility>

#include "common/system_dll_win.h"
#include "common/unique_handle_win.h"
#include "msgbox/message_dlg_proc_win.h"
#include "msgbox/message_dlg_resources_win.h"
#include "msgbox/message_dlg_state_win.h"
#include "msgbox/message_dlg_template_win.h"

static_assert(MB_OK == kButtonSetOk && MB_OKCANCEL == kButtonSetOkCancel &&
                  MB_YESNOCANCEL == kButtonSetYesNoCancel && MB_YESNO == kButtonSetYesNo,
              "button sets are the platform's");
static_assert(MB_DEFBUTTON2 == kDefaultButton2 && MB_DEFBUTTON3 == kDefaultButton3,
              "default-button bits are the platform's");
static_assert(IDOK == kResultOk && IDCANCEL == kResultCancel && IDYES == kResultYes &&
                  IDNO == kResultNo,
              "results are the platform's");

const UINT WM_ZMESSAGEBOX_CLOSE = ::RegisterWindowMessageA("WM_ZMESSAGEBOX_CLOSE");

namespace {

constexpr int kDefaultIconId = 102;

// Written by SetMessageDlgResources before the first box, read afterwards.
HINSTANCE g_messageDlgInstance = nullptr;
int g_messageDlgIconId = kDefaultIconId;

}  // namespace

HINSTANCE MessageDlgInstance() {
  return g_messageDlgInstance ? g_messageDlgInstance : ::GetModuleHandleA(nullptr);
}

int MessageDlgIconId() { return g_messageDlgIconId; }

void SetMessageDlgResources(HINSTANCE instance, int iconId) {
  g_messageDlgInstance = instance;
  g_messageDlgIconId = iconId;
}

int ShowMessageDlg(HWND owner, std::string text, std::string caption, UINT type,
                   UINT options, LPARAM value, const char* captions, int* checkOut) {
  // The platform answers 0 for an owner that is not a window; Wine answers -1. Callers get
  // the documented 0 everywhere.
  if (owner && !::IsWindow(owner)) return 0;
  try {
    MessageDlgState state;
    UniqueGlobalMemory block(::GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, kMessageDlgTemplateSize));
    if (!block) return -1;
    WriteMessageDlgTemplate(block.get(), caption);
    const CommonControlsScope commonControls;
    InitMessageDlgState(state, owner, std::move(text), std::move(caption), type, options, value,
                        captions, checkOut);
    return static_cast<int>(::DialogBoxIndirectParamA(
        MessageDlgInstance(), static_cast<LPCDLGTEMPLATEA>(block.get()), owner, MessageDlgProc,
        reinterpret_cast<LPARAM>(&state)));
  } catch (...) {
    return -1;  // out of memory copying the texts: no box
  }
}
