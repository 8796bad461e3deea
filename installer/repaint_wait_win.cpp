#include "installer/repaint_wait_win.h"

void DispatchPaintMessages() {
  MSG message;
  while (::PeekMessageA(&message, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) {
    ::DispatchMessageA(&message);
  }
}

void WaitRepainting(HANDLE process) {
  while (::WaitForSingleObject(process, kRepaintWaitSliceMs) == WAIT_TIMEOUT) {
    DispatchPaintMessages();
  }
}
