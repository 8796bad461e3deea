// A small modal-dialog helper: a dialog made from a resource template and bound to a C++
// object whose message map receives the dialog's messages. It offers five operations and no
// more: run modally, bind the window to the object (with the map), end with a value, centre,
// and reach items by id. User-interface thread only.
#pragma once

#include <windows.h>

#include <vector>

class ModalDialog {
 public:
  ModalDialog() = default;
  virtual ~ModalDialog() = default;
  ModalDialog(const ModalDialog&) = delete;
  ModalDialog& operator=(const ModalDialog&) = delete;

  // Shows dialog `resourceId` of `instance` modally over `parent` (may be null) and returns
  // the value the dialog was ended with: -1 when it could not be created, 0 when `parent`
  // is not a window (the platform's answers).
  INT_PTR DoModal(HINSTANCE instance, int resourceId, HWND parent);

  // Asks the modal loop to end with `value` once the current message has been handled.
  bool EndDialog(INT_PTR value);

  // Centres a popup dialog over its owner when the owner is visible and not minimised,
  // otherwise in the work area (the owner's monitor, or the primary one without an owner),
  // and keeps it inside that work area.
  bool CenterWindow();

  // The dialog item with control id `id`, or null.
  HWND GetItem(int id) const;

  // The bound window; null before WM_INITDIALOG and after the window is gone.
  HWND Window() const { return m_hWnd; }

 protected:
  // Called for every message from WM_INITDIALOG to WM_NCDESTROY. Returns true when the
  // message was handled, with its result in `result`; false gives the default processing.
  virtual bool ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam,
                                    LRESULT& result) = 0;

 private:
  static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  HWND m_hWnd = nullptr;
};

// An ordered message map of `Owner`'s handlers: the first entry that matches a message gets
// it. Entries match by message number (registered messages included) or, for WM_COMMAND, by
// control id and notification code. A handler returns the message's result.
template <typename Owner>
class MessageMap {
 public:
  using Handler = LRESULT (Owner::*)(WPARAM wParam, LPARAM lParam);

  MessageMap& OnMessage(UINT message, Handler handler) {
    m_entries.push_back(Entry{message, false, 0, 0, handler});
    return *this;
  }
  MessageMap& OnCommand(int controlId, int notifyCode, Handler handler) {
    m_entries.push_back(Entry{WM_COMMAND, true, controlId, notifyCode, handler});
    return *this;
  }

  bool Dispatch(Owner& owner, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) const {
    for (const Entry& entry : m_entries) {
      if (entry.message != message) continue;
      if (entry.isCommand &&
          (LOWORD(wParam) != entry.controlId || HIWORD(wParam) != entry.notifyCode)) {
        continue;
      }
      result = (owner.*entry.handler)(wParam, lParam);
      return true;
    }
    return false;
  }

 private:
  struct Entry {
    UINT message;
    bool isCommand;
    int controlId;
    int notifyCode;
    Handler handler;
  };
  std::vector<Entry> m_entries;
};
