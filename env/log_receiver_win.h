// The other end of the diagnostic log: a top-level window of class "RECV_CLASS" titled
// "RECV" that takes every WM_COPYDATA message as one line. The log viewer tool shows them;
// tests capture the launcher's lines with it.
#pragma once

#include <windows.h>

#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct ReceivedLine {
  std::string text;         // the data up to their first zero byte (or all of them)
  DWORD byteCount = 0;      // cbData as sent
  ULONG_PTR tag = 0;        // dwData as sent
  WPARAM senderWindow = 0;  // the message's first parameter
};

// The window lives on the thread that constructs the receiver and takes lines only while
// that thread pumps messages; construct and destroy it on the same thread. With a handler,
// each line goes to the handler (on that thread, inside the sender's wait) and is not kept;
// without one, lines are kept for Lines(), which any thread may call.
class LogReceiver {
 public:
  using LineHandler = std::function<void(const ReceivedLine& line)>;

  explicit LogReceiver(LineHandler handler = nullptr);
  ~LogReceiver();
  LogReceiver(const LogReceiver&) = delete;
  LogReceiver& operator=(const LogReceiver&) = delete;

  bool IsOpen() const { return m_window != nullptr; }
  HWND window() const { return m_window; }
  std::vector<ReceivedLine> Lines() const;

 private:
  static LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void Receive(WPARAM senderWindow, const COPYDATASTRUCT& data);

  LineHandler m_handler;
  mutable std::mutex m_linesLock;
  std::vector<ReceivedLine> m_lines;
  HWND m_window = nullptr;
};

// A receiver on a thread of its own that pumps its messages, for a caller whose own thread
// is busy waiting (for a launcher process, say) while the lines arrive. Construction returns
// once the window exists (or its creation failed); destruction closes it and joins the thread.
class BackgroundLogReceiver {
 public:
  BackgroundLogReceiver();
  ~BackgroundLogReceiver();
  BackgroundLogReceiver(const BackgroundLogReceiver&) = delete;
  BackgroundLogReceiver& operator=(const BackgroundLogReceiver&) = delete;

  bool IsOpen() const;
  HWND window() const;
  std::vector<ReceivedLine> Lines() const;
  // True once at least `count` lines have arrived; false when the time ran out first.
  bool WaitForLines(size_t count, DWORD timeoutMilliseconds) const;

 private:
  void Run();

  mutable std::mutex m_lock;
  mutable std::condition_variable m_changed;
  std::vector<ReceivedLine> m_lines;
  bool m_started = false;
  HWND m_window = nullptr;
  DWORD m_threadId = 0;
  std::thread m_thread;
};
