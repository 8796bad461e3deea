// Waiting on the dialog's thread without freezing its window: only paint messages are taken
// while the wait lasts, so clicks and keys stay queued and nothing interrupts the step that is
// being waited for. User-interface thread.
#pragma once

#include <windows.h>

#include <chrono>
#include <future>

// How often a wait looks at the paint messages.
constexpr DWORD kRepaintWaitSliceMs = 100;

void DispatchPaintMessages();

// Waits for `process` (or any waitable handle) to be signalled.
void WaitRepainting(HANDLE process);

// Waits for `result` to be ready and gives its value.
template <typename T>
T WaitRepainting(std::future<T>& result) {
  const std::chrono::milliseconds slice(kRepaintWaitSliceMs);
  while (result.wait_for(slice) == std::future_status::timeout) {
    DispatchPaintMessages();
  }
  return result.get();
}
