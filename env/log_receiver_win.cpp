#include "env/log_receiver_win.h"

#include <chrono>
#include <cstring>

#include "env/log_win.h"

LogReceiver::LogReceiver(LineHandler handler) : m_handler(std::move(handler)) {
  HINSTANCE instance = ::GetModuleHandleA(nullptr);
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = &WindowProcedure;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = kLogReceiverClassName;
  // Several receivers in one process share the class.
  if (!::RegisterClassA(&windowClass) && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return;
  m_window = ::CreateWindowExA(0, kLogReceiverClassName, kLogReceiverTitle, WS_OVERLAPPED, 0, 0, 0,
                               0, nullptr, nullptr, instance, this);
}

LogReceiver::~LogReceiver() {
  if (m_window) ::DestroyWindow(m_window);
}

std::vector<ReceivedLine> LogReceiver::Lines() const {
  std::lock_guard<std::mutex> guard(m_linesLock);
  return m_lines;
}

LRESULT CALLBACK LogReceiver::WindowProcedure(HWND window, UINT message, WPARAM wParam,
                                              LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* creation = reinterpret_cast<const CREATESTRUCTA*>(lParam);
    ::SetWindowLongPtrA(window, GWLP_USERDATA,
                        reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
  }
  if (message == WM_NCDESTROY) {
    // Destroyed from outside (another process closed it): the object forgets its window.
    auto* receiver = reinterpret_cast<LogReceiver*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
    if (receiver) receiver->m_window = nullptr;
    ::SetWindowLongPtrA(window, GWLP_USERDATA, 0);
  }
  if (message == WM_COPYDATA && lParam) {
    auto* receiver = reinterpret_cast<LogReceiver*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!receiver) return FALSE;
    try {
      receiver->Receive(wParam, *reinterpret_cast<const COPYDATASTRUCT*>(lParam));
    } catch (...) {
      return FALSE;  // a line lost to a failed allocation; the sender is not told
    }
    return TRUE;
  }
  return ::DefWindowProcA(window, message, wParam, lParam);
}

void LogReceiver::Receive(WPARAM senderWindow, const COPYDATASTRUCT& data) {
  ReceivedLine line;
  line.byteCount = data.cbData;
  line.tag = data.dwData;
  line.senderWindow = senderWindow;
  if (data.lpData && data.cbData > 0) {
    // Never trust the sender to have included the zero: stop at it or at cbData.
    const char* bytes = static_cast<const char*>(data.lpData);
    const void* zero = std::memchr(bytes, 0, data.cbData);
    line.text.assign(bytes, zero ? static_cast<const char*>(zero) - bytes : data.cbData);
  }
  if (m_handler) {
    m_handler(line);
    return;
  }
  std::lock_guard<std::mutex> guard(m_linesLock);
  m_lines.push_back(std::move(line));
}

BackgroundLogReceiver::BackgroundLogReceiver() {
  m_thread = std::thread([this] { Run(); });
  std::unique_lock<std::mutex> guard(m_lock);
  m_changed.wait(guard, [this] { return m_started; });
}

BackgroundLogReceiver::~BackgroundLogReceiver() {
  DWORD threadId;
  {
    std::lock_guard<std::mutex> guard(m_lock);
    threadId = m_threadId;
  }
  // The thread may not have its message queue yet only if the window failed, in which
  // case it has already left its loop.
  if (threadId) ::PostThreadMessageA(threadId, WM_QUIT, 0, 0);
  if (m_thread.joinable()) m_thread.join();
}

void BackgroundLogReceiver::Run() {
  try {
    LogReceiver receiver([this](const ReceivedLine& line) {
      std::lock_guard<std::mutex> guard(m_lock);
      m_lines.push_back(line);
      m_changed.notify_all();
    });
    {
      std::lock_guard<std::mutex> guard(m_lock);
      m_window = receiver.window();
      m_threadId = receiver.IsOpen() ? ::GetCurrentThreadId() : 0;
      m_started = true;
      m_changed.notify_all();
    }
    if (!receiver.IsOpen()) return;
    MSG message;
    while (::GetMessageA(&message, nullptr, 0, 0) > 0) {
      ::TranslateMessage(&message);
      ::DispatchMessageA(&message);
    }
    std::lock_guard<std::mutex> guard(m_lock);
    m_window = nullptr;
  } catch (...) {
    std::lock_guard<std::mutex> guard(m_lock);
    m_started = true;
    m_changed.notify_all();
  }
}

bool BackgroundLogReceiver::IsOpen() const {
  return window() != nullptr;
}

HWND BackgroundLogReceiver::window() const {
  std::lock_guard<std::mutex> guard(m_lock);
  return m_window;
}

std::vector<ReceivedLine> BackgroundLogReceiver::Lines() const {
  std::lock_guard<std::mutex> guard(m_lock);
  return m_lines;
}

bool BackgroundLogReceiver::WaitForLines(size_t count, DWORD timeoutMilliseconds) const {
  std::unique_lock<std::mutex> guard(m_lock);
  return m_changed.wait_for(guard, std::chrono::milliseconds(timeoutMilliseconds),
                            [&] { return m_lines.size() >= count; });
}
