// The diagnostic log against real receiver windows on other threads of this process.
#include "env/log_win.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <string>
#include <thread>

#include "common/unique_handle_win.h"
#include "env/log.h"
#include "env/log_receiver_win.h"

namespace {

using Clock = std::chrono::steady_clock;

long long MillisecondsSince(Clock::time_point start) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

// A window on its own thread that takes no messages until released: a hung receiver.
class HungWindow {
 public:
  HungWindow(const char* className, const char* title)
      : m_ready(::CreateEventA(nullptr, TRUE, FALSE, nullptr)),
        m_release(::CreateEventA(nullptr, TRUE, FALSE, nullptr)) {
    m_thread = std::thread([this, className, title] {
      WNDCLASSA windowClass{};
      windowClass.lpfnWndProc = ::DefWindowProcA;
      windowClass.hInstance = ::GetModuleHandleA(nullptr);
      windowClass.lpszClassName = className;
      ::RegisterClassA(&windowClass);
      m_window = ::CreateWindowExA(0, className, title, WS_OVERLAPPED, 0, 0, 0, 0, nullptr, nullptr,
                                   windowClass.hInstance, nullptr);
      ::SetEvent(m_ready.get());
      // Never pumps: a message sent to the window is never taken. The default procedure
      // would not look at a late WM_COPYDATA anyway.
      ::WaitForSingleObject(m_release.get(), INFINITE);
      ::DestroyWindow(m_window);
      // The class must not outlive the test: a later receiver registers its own.
      ::UnregisterClassA(className, windowClass.hInstance);
    });
    ::WaitForSingleObject(m_ready.get(), INFINITE);
  }
  ~HungWindow() {
    Release();
    m_thread.join();
  }
  // Lets the window's thread end, which also ends any send still waiting on it.
  void Release() { ::SetEvent(m_release.get()); }
  HWND window() const { return m_window; }

 private:
  UniqueKernelHandle m_ready;
  UniqueKernelHandle m_release;
  HWND m_window = nullptr;
  std::thread m_thread;
};

TEST(LogWithoutReceiver, ReturnsAtOnceAndNobodyElseHearsIt) {
  ASSERT_EQ(nullptr, ::FindWindowA(kLogReceiverClassName, kLogReceiverTitle));
  // Windows that match only the class or only the title are not the receiver.
  HungWindow otherTitle(kLogReceiverClassName, "NOT RECV");
  HungWindow otherClass("ZU_OTHER_CLASS", kLogReceiverTitle);
  ASSERT_NE(nullptr, otherTitle.window());
  ASSERT_NE(nullptr, otherClass.window());
  const Clock::time_point start = Clock::now();
  LogLine("currentdir:%s", "C:\\Program Files\\Zu");
  LogLine("nEC:%d", 0);
  // A send to either hung window would have taken the whole timeout.
  EXPECT_LT(MillisecondsSince(start), static_cast<long long>(kLogSendTimeoutMilliseconds) / 2);
}

TEST(LogToReceiver, EachLineArrivesOnceSynchronouslyAsCopyData) {
  BackgroundLogReceiver receiver;
  ASSERT_TRUE(receiver.IsOpen());
  ASSERT_EQ(receiver.window(), ::FindWindowA(kLogReceiverClassName, kLogReceiverTitle));
  LogLine("ZuLauncherMain()-%s", "<ZULAUNCHER_PARAM Command=\"run\"/>");
  // No waiting: a line has been handled when LogLine returns.
  std::vector<ReceivedLine> lines = receiver.Lines();
  ASSERT_EQ(1u, lines.size());
  EXPECT_EQ("ZuLauncherMain()-<ZULAUNCHER_PARAM Command=\"run\"/>", lines[0].text);
  EXPECT_EQ(lines[0].text.size() + 1, lines[0].byteCount) << "the zero is counted";
  EXPECT_EQ(0u, lines[0].tag) << "dwData";
  EXPECT_EQ(0u, lines[0].senderWindow) << "no sender window";

  LogLine("val_install : %d", -3);
  LogLine("%s", "");
  lines = receiver.Lines();
  ASSERT_EQ(3u, lines.size());
  EXPECT_EQ("val_install : -3", lines[1].text);
  EXPECT_EQ("", lines[2].text);
  EXPECT_EQ(1u, lines[2].byteCount) << "an empty line is its zero alone";
}

TEST(LogToReceiver, NonAsciiBytesArriveByteForByte) {
  BackgroundLogReceiver receiver;
  ASSERT_TRUE(receiver.IsOpen());
  // Every byte value from 0x80 to 0xFF once, and a Cyrillic word in code page 1251.
  std::string high;
  for (int byte = 0x80; byte <= 0xFF; ++byte) high += static_cast<char>(byte);
  LogLine("bytes:%s", high.c_str());
  LogLine("%s", "\xcf\xf0\xe8\xe2\xe5\xf2");
  std::vector<ReceivedLine> lines = receiver.Lines();
  ASSERT_EQ(2u, lines.size());
  EXPECT_EQ("bytes:" + high, lines[0].text);
  EXPECT_EQ(6u + 128u + 1u, lines[0].byteCount);
  EXPECT_EQ("\xcf\xf0\xe8\xe2\xe5\xf2", lines[1].text);
  EXPECT_EQ(7u, lines[1].byteCount);
}

TEST(LogToReceiver, LongLinesAreNotCut) {
  BackgroundLogReceiver receiver;
  ASSERT_TRUE(receiver.IsOpen());
  const std::string parameter(20000, 'p');
  LogLine("ulbax run param: %s %s", "\"C:\\Zu\\program.exe\"", parameter.c_str());
  std::vector<ReceivedLine> lines = receiver.Lines();
  ASSERT_EQ(1u, lines.size());
  EXPECT_EQ("ulbax run param: \"C:\\Zu\\program.exe\" " + parameter, lines[0].text);
}

// Runs `send` on a thread of its own and gives the milliseconds it took, or -1 when it was
// still running after `limit` milliseconds. Waiting on another thread turns an unbounded send
// into a failure instead of a hung test: once the hung window's thread ends, the send returns.
template <typename Send>
long long TimeSend(HungWindow& hung, long long limit, Send send) {
  UniqueKernelHandle done(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
  const Clock::time_point start = Clock::now();
  std::thread sender([&] {
    send();
    ::SetEvent(done.get());
  });
  bool finished = ::WaitForSingleObject(done.get(), static_cast<DWORD>(limit)) == WAIT_OBJECT_0;
  long long elapsed = MillisecondsSince(start);
  if (!finished) hung.Release();
  sender.join();
  return finished ? elapsed : -1;
}

TEST(LogToHungReceiver, CostsAtMostTheTimeout) {
  ASSERT_LE(kLogSendTimeoutMilliseconds, 2000u);
  HungWindow hung(kLogReceiverClassName, kLogReceiverTitle);
  ASSERT_EQ(hung.window(), ::FindWindowA(kLogReceiverClassName, kLogReceiverTitle))
      << "the line goes to the hung window";
  long long first = TimeSend(hung, 5000, [] { LogLine("nEC:%d", 5); });
  EXPECT_NE(-1, first) << "LogLine waited on a hung receiver for more than 5 s";
  long long second = TimeSend(hung, 5000, [&] { SendLogText(hung.window(), "second line"); });
  EXPECT_NE(-1, second) << "every line is bounded, not only the first";
}

TEST(LogReceiverWindow, KeepsLinesAndNeverReadsPastCbData) {
  // On this thread: a send to a window of the sending thread is a direct call.
  LogReceiver receiver;
  ASSERT_TRUE(receiver.IsOpen());
  LogLine("nEC:%d", 7);
  const char unterminated[] = {'a', 'b', 'c', 'd'};
  COPYDATASTRUCT data{};
  data.dwData = 42;
  data.cbData = 3;  // neither the fourth byte nor a zero belongs to the line
  data.lpData = const_cast<char*>(unterminated);
  ::SendMessageA(receiver.window(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
  data.cbData = 0;
  ::SendMessageA(receiver.window(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
  std::vector<ReceivedLine> lines = receiver.Lines();
  ASSERT_EQ(3u, lines.size());
  EXPECT_EQ("nEC:7", lines[0].text);
  EXPECT_EQ("abc", lines[1].text);
  EXPECT_EQ(42u, lines[1].tag);
  EXPECT_EQ("", lines[2].text);
  EXPECT_EQ(0u, lines[2].byteCount);
}

TEST(LogToReceiverCp949, KoreanLineIsSentAsItsBytesAndCountedInBytes) {
  ASSERT_EQ(949u, ::GetACP()) << "run with LC_ALL=ko_KR.UTF-8";
  BackgroundLogReceiver receiver;
  ASSERT_TRUE(receiver.IsOpen());
  // "대상 없음" in code page 949: four characters and a space, nine bytes.
  LogLine("ZuLauncherMain() - \xb4\xeb\xbb\xf3 \xbe\xf8\xc0\xbd: %d", 1234);
  std::vector<ReceivedLine> lines = receiver.Lines();
  ASSERT_EQ(1u, lines.size());
  const std::string expected = "ZuLauncherMain() - \xb4\xeb\xbb\xf3 \xbe\xf8\xc0\xbd: 1234";
  EXPECT_EQ(expected, lines[0].text);
  EXPECT_EQ(expected.size() + 1, lines[0].byteCount);
  int characters = ::MultiByteToWideChar(CP_ACP, 0, expected.data(),
                                         static_cast<int>(expected.size()), nullptr, 0);
  EXPECT_LT(static_cast<size_t>(characters) + 1, lines[0].byteCount) << "bytes, not characters";
}

}  // namespace
