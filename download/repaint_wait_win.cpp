#include "download/repaint_wait_win.h"

namespace {
constexpr DWORD kWaitSliceMs = 100;
}

void DispatchPaintMessages() {
  MSG message;
  while (::PeekMessageA(&message, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) {
    ::DispatchMessageA(&message);
  }
}

void WaitRepainting(HANDLE process) {
  while (::WaitForSingleObject(process, kWaitSliceMs) == WAIT_TIMEOUT) DispatchPaintMessages();
}
