// Test side of the engine's messages: a message-only window on the test thread that records
// every WM_HTTPGETFILE_* message it receives (taking each progress message as the dialog
// does), and waits that pump the thread's queue.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "tests/support/scratch_win.h"
#include "transfer/http_get_file_win.h"

enum class TransferEventKind { Start, Progress, Complete };

struct TransferEvent {
  TransferEventKind kind;
  int id;
  int value;
};

class TransferRecorder {
 public:
  TransferRecorder() {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = &TransferRecorder::WindowProc;
    windowClass.hInstance = ::GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kClassName;
    ::RegisterClassA(&windowClass);  // fails harmlessly once registered
    m_window = ::CreateWindowExA(0, kClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                 windowClass.hInstance, nullptr);
    ::SetWindowLongPtrA(m_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
  ~TransferRecorder() {
    if (m_window) ::DestroyWindow(m_window);
  }
  TransferRecorder(const TransferRecorder&) = delete;
  TransferRecorder& operator=(const TransferRecorder&) = delete;

  HWND window() const { return m_window; }

  // Every recorded message of transfer `id`, in arrival order.
  std::vector<TransferEvent> EventsOf(int id) const {
    std::vector<TransferEvent> events;
    for (const TransferEvent& event : m_events) {
      if (event.id == id) events.push_back(event);
    }
    return events;
  }
  const std::vector<TransferEvent>& events() const { return m_events; }

  bool Completed(int id) const {
    for (const TransferEvent& event : m_events) {
      if (event.id == id && event.kind == TransferEventKind::Complete) return true;
    }
    return false;
  }

  // Pumps messages until transfer `id` has completed; false after `timeoutMs`.
  bool WaitForCompletion(int id, DWORD timeoutMs = 30000) {
    return PumpUntil([&] { return Completed(id); }, timeoutMs);
  }

  // Pumps messages until transfer `id` has reported at least `bytes` bytes.
  bool WaitForProgress(int id, int bytes, DWORD timeoutMs = 30000) {
    return PumpUntil(
        [&] {
          for (const TransferEvent& event : m_events) {
            if (event.id == id && event.kind == TransferEventKind::Progress &&
                event.value >= bytes) {
              return true;
            }
          }
          return false;
        },
        timeoutMs);
  }

  // Handles whatever is already queued.
  void Drain() {
    MSG message;
    while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&message);
  }

 private:
  static constexpr const char* kClassName = "ZuTransferRecorder";

  template <typename Done>
  bool PumpUntil(Done done, DWORD timeoutMs) {
    const DWORD started = ::GetTickCount();
    for (;;) {
      Drain();
      if (done()) return true;
      const DWORD elapsed = ::GetTickCount() - started;
      if (elapsed >= timeoutMs) return false;
      ::MsgWaitForMultipleObjects(0, nullptr, FALSE, timeoutMs - elapsed, QS_ALLINPUT);
    }
  }

  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<TransferRecorder*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
    if (self) {
      const int id = static_cast<int>(wParam);
      const int value = static_cast<int>(lParam);
      if (message == WM_HTTPGETFILE_START) {
        self->m_events.push_back({TransferEventKind::Start, id, value});
        return 0;
      }
      if (message == WM_HTTPGETFILE_PROGRESS) {
        HttpGetFileProgressTaken(id);  // as the dialog does: the transfer may post the next
        self->m_events.push_back({TransferEventKind::Progress, id, value});
        return 0;
      }
      if (message == WM_HTTPGETFILE_COMPLETE) {
        self->m_events.push_back({TransferEventKind::Complete, id, value});
        return 0;
      }
    }
    return ::DefWindowProcA(window, message, wParam, lParam);
  }

  HWND m_window = nullptr;
  std::vector<TransferEvent> m_events;
};

inline bool PathExists(const std::string& path) {
  return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}
