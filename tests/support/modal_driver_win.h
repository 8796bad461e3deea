// Test support: drives the windows of the test thread from a thread of its own while the test
// thread sits in a modal loop (a message box, the installer download dialog). If the script
// gives up, the driver ends whatever is still open, so a failing test never hangs the run.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <thread>

class ModalDriver {
 public:
  // Starts `script` at once; it returns true when every step went as expected.
  ModalDriver(DWORD uiThreadId, std::function<bool()> script);
  ~ModalDriver() { Join(); }
  ModalDriver(const ModalDriver&) = delete;
  ModalDriver& operator=(const ModalDriver&) = delete;

  void Join() {
    if (m_thread.joinable()) m_thread.join();
  }
  // True when the script ran to its end with every step as expected.
  bool Succeeded() {
    Join();
    return m_succeeded;
  }

 private:
  // Answers the thread's boxes with their first button, then cancels the download dialog,
  // until neither is left (30 s at most).
  void Rescue() const;

  DWORD m_uiThreadId;
  std::atomic<bool> m_succeeded{false};
  std::thread m_thread;
};
