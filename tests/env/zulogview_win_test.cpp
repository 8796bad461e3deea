// The log viewer tool as a vendor runs it: a separate process that receives this process's
// log lines and prints them numbered.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "common/unique_handle_win.h"
#include "env/directories_win.h"
#include "env/log.h"
#include "env/log_win.h"
#include "tests/support/scratch_win.h"
#include "tests/support/window_finder_win.h"

namespace {

// zulogview.exe started beside this test program, its output going to a file.
class Viewer {
 public:
  Viewer(const std::string& arguments, const std::string& outputPath, DWORD creationFlags = 0) {
    SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
    UniqueFileHandle output(::CreateFileA(outputPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                                          &inheritable, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                          nullptr));
    if (!output) return;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = output.get();
    startup.hStdError = output.get();
    std::string commandLine = "\"" + GetModuleDir() + "zulogview.exe\" " + arguments;
    PROCESS_INFORMATION process{};
    if (::CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, TRUE, creationFlags, nullptr,
                         nullptr, &startup, &process)) {
      m_process.reset(process.hProcess);
      ::CloseHandle(process.hThread);
      m_processId = process.dwProcessId;
    }
  }
  ~Viewer() {
    if (m_process && ::WaitForSingleObject(m_process.get(), 0) == WAIT_TIMEOUT) {
      ::TerminateProcess(m_process.get(), 99);
      ::WaitForSingleObject(m_process.get(), 5000);
    }
  }

  bool started() const { return static_cast<bool>(m_process); }
  DWORD processId() const { return m_processId; }

  // The receiver window, once the viewer has opened it.
  HWND WaitForWindow() const {
    WindowQuery receiver;
    receiver.className = kLogReceiverClassName;
    receiver.title = kLogReceiverTitle;
    receiver.processId = m_processId;
    receiver.visibleOnly = false;
    return WaitForTopLevelWindow(receiver);
  }
  bool Running() const { return ::WaitForSingleObject(m_process.get(), 0) == WAIT_TIMEOUT; }
  // The exit code, or -1 when it did not end within the time.
  long WaitForExit(DWORD milliseconds) const {
    if (::WaitForSingleObject(m_process.get(), milliseconds) != WAIT_OBJECT_0) return -1;
    DWORD code = 0;
    ::GetExitCodeProcess(m_process.get(), &code);
    return static_cast<long>(code);
  }

 private:
  UniqueKernelHandle m_process;
  DWORD m_processId = 0;
};

class ZuLogView : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_scratch.created());
    ASSERT_TRUE(FileExists(GetModuleDir() + "zulogview.exe"));
    ASSERT_EQ(nullptr, ::FindWindowA(kLogReceiverClassName, kLogReceiverTitle));
  }
  std::string OutputPath() const { return m_scratch / "viewer.txt"; }

  ScratchDirectory m_scratch;
};

TEST_F(ZuLogView, PrintsNumberedLinesUntilItsTimeLimit) {
  const DWORD started = ::GetTickCount();
  Viewer viewer("3", OutputPath());
  ASSERT_TRUE(viewer.started());
  ASSERT_NE(nullptr, viewer.WaitForWindow());
  LogLine("currentdir:%s", "C:\\Zu");
  LogLine("nEC:%d", 0);
  LogLine("%s", "");
  // Without a console there is nothing to convert to: ANSI bytes pass unchanged.
  LogLine("bytes:%s", "\xb4\xeb\xbb\xf3\xe9");
  EXPECT_TRUE(viewer.Running()) << "the limit has not passed yet";
  EXPECT_EQ(0, viewer.WaitForExit(10000));
  EXPECT_GE(::GetTickCount() - started, 2900u) << "ran for its three seconds";
  EXPECT_EQ("1: currentdir:C:\\Zu\r\n2: nEC:0\r\n3: \r\n4: bytes:\xb4\xeb\xbb\xf3\xe9\r\n",
            ReadWholeFile(OutputPath()));
}

// Types Ctrl+C into the console of process `processId` as a user would.
bool TypeCtrlCInto(DWORD processId) {
  ::FreeConsole();
  if (!::AttachConsole(processId)) return false;
  // This process shares the console for a moment and must not end on the event itself.
  ::SetConsoleCtrlHandler(nullptr, TRUE);
  bool written = false;
  UniqueFileHandle input(::CreateFileA("CONIN$", GENERIC_READ | GENERIC_WRITE,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                       0, nullptr));
  if (input) {
    INPUT_RECORD keys[2] = {};
    for (int i = 0; i < 2; ++i) {
      keys[i].EventType = KEY_EVENT;
      keys[i].Event.KeyEvent.bKeyDown = i == 0;
      keys[i].Event.KeyEvent.wRepeatCount = 1;
      keys[i].Event.KeyEvent.wVirtualKeyCode = 'C';
      keys[i].Event.KeyEvent.uChar.AsciiChar = 3;
      keys[i].Event.KeyEvent.dwControlKeyState = LEFT_CTRL_PRESSED;
    }
    DWORD count = 0;
    written = ::WriteConsoleInputA(input.get(), keys, 2, &count) && count == 2;
  }
  input.reset();
  ::Sleep(200);
  ::FreeConsole();
  ::SetConsoleCtrlHandler(nullptr, FALSE);
  return written;
}

TEST_F(ZuLogView, CtrlCEndsIt) {
  Viewer viewer("", OutputPath(), CREATE_NEW_CONSOLE);
  ASSERT_TRUE(viewer.started());
  ASSERT_NE(nullptr, viewer.WaitForWindow());
  LogLine("val_update : %d", 21);
  ASSERT_TRUE(TypeCtrlCInto(viewer.processId())) << ::GetLastError();
  EXPECT_EQ(0, viewer.WaitForExit(10000));
  EXPECT_EQ("1: val_update : 21\r\n", ReadWholeFile(OutputPath()));
}

TEST_F(ZuLogView, BadArgumentsAreRefused) {
  int run = 0;
  for (const char* arguments : {"abc", "0", "-5", "3 4", "10x"}) {
    // A file per run: the last viewer's handle may outlive its exit for a moment.
    const std::string output = m_scratch / ("usage" + std::to_string(++run) + ".txt");
    Viewer viewer(arguments, output);
    ASSERT_TRUE(viewer.started()) << arguments;
    EXPECT_EQ(2, viewer.WaitForExit(10000)) << arguments;
    EXPECT_NE(std::string::npos, ReadWholeFile(output).find("usage: zulogview [seconds]")) << arguments;
  }
}

class ZuLogViewCp1251 : public ZuLogView {};

TEST_F(ZuLogViewCp1251, LinesAreConvertedToTheConsoleCodePage) {
  ASSERT_EQ(1251u, ::GetACP()) << "run with LC_ALL=ru_RU.UTF-8";
  ASSERT_EQ(866u, ::GetOEMCP());
  // A console of its own starts in the OEM code page, 866; the output still goes to the file.
  Viewer viewer("2", OutputPath(), CREATE_NEW_CONSOLE);
  ASSERT_TRUE(viewer.started());
  ASSERT_NE(nullptr, viewer.WaitForWindow());
  LogLine("%s", "\xcf\xf0\xe8\xe2\xe5\xf2");  // "Привет" in code page 1251
  EXPECT_EQ(0, viewer.WaitForExit(10000));
  EXPECT_EQ("1: \x8f\xe0\xa8\xa2\xa5\xe2\r\n", ReadWholeFile(OutputPath())) << "code page 866 bytes";
}

}  // namespace
