// zulogview: watches the launcher's diagnostic lines.
//
//   zulogview.exe [seconds]
//
// Opens the log receiver window (class "RECV_CLASS", title "RECV") and prints every line the
// launcher sends as "N: line", N counting from 1, converted from the ANSI code page to the
// console's output code page. Runs until Ctrl+C (or Ctrl+Break, or the console closing), or,
// when `seconds` is given, at most that many seconds. Start it before the launcher: a
// launcher that finds no receiver sends nothing. Only one receiver gets the lines; when two
// are open the launcher picks one of them.
//
// Exit codes: 0 after Ctrl+C or the time limit, 1 when the receiver window cannot be
// created, 2 for a bad argument.
#include <windows.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "env/log_receiver_win.h"

namespace {

std::atomic<bool> g_stopRequested{false};
std::atomic<HWND> g_receiverWindow{nullptr};

// Runs on a thread the console starts for the event.
BOOL WINAPI OnConsoleControl(DWORD event) {
  switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
    case CTRL_CLOSE_EVENT:
      g_stopRequested = true;
      // Wakes the message wait on the main thread.
      if (HWND window = g_receiverWindow.load()) ::PostMessageA(window, WM_NULL, 0, 0);
      return TRUE;
    default:
      return FALSE;
  }
}

// ANSI code page text in the console's output code page; unchanged when there is no
// console or the conversion fails.
std::string ToConsoleCodePage(const std::string& ansi) {
  UINT consoleCodePage = ::GetConsoleOutputCP();
  if (ansi.empty() || consoleCodePage == 0 || consoleCodePage == ::GetACP()) return ansi;
  int wideLength =
      ::MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
  if (wideLength <= 0) return ansi;
  std::wstring wide(static_cast<size_t>(wideLength), L'\0');
  ::MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), &wide[0],
                        wideLength);
  int length = ::WideCharToMultiByte(consoleCodePage, 0, wide.data(), wideLength, nullptr, 0,
                                     nullptr, nullptr);
  if (length <= 0) return ansi;
  std::string converted(static_cast<size_t>(length), '\0');
  ::WideCharToMultiByte(consoleCodePage, 0, wide.data(), wideLength, &converted[0], length, nullptr,
                        nullptr);
  return converted;
}

bool ParseSeconds(const char* text, DWORD& seconds) {
  char* end = nullptr;
  unsigned long value = std::strtoul(text, &end, 10);
  if (!*text || *end || value == 0 || value > 0x7FFFFFFFul / 1000) return false;
  seconds = static_cast<DWORD>(value);
  return true;
}

int Run(int argc, char** argv) {
  DWORD limitSeconds = 0;
  if (argc > 2 || (argc == 2 && !ParseSeconds(argv[1], limitSeconds))) {
    std::fprintf(stderr, "usage: zulogview [seconds]\n");
    return 2;
  }
  unsigned long lineNumber = 0;
  LogReceiver receiver([&lineNumber](const ReceivedLine& line) {
    std::string shown = ToConsoleCodePage(line.text);
    std::printf("%lu: %s\n", ++lineNumber, shown.c_str());
    std::fflush(stdout);
  });
  if (!receiver.IsOpen()) {
    std::fprintf(stderr, "zulogview: cannot create the receiver window (error %lu)\n",
                 ::GetLastError());
    return 1;
  }
  g_receiverWindow = receiver.window();
  // A process started in a new process group begins with Ctrl+C ignored; the viewer wants it.
  ::SetConsoleCtrlHandler(nullptr, FALSE);
  ::SetConsoleCtrlHandler(&OnConsoleControl, TRUE);

  const DWORD start = ::GetTickCount();
  const DWORD limit = limitSeconds * 1000;
  while (!g_stopRequested) {
    DWORD wait = INFINITE;
    if (limitSeconds) {
      DWORD elapsed = ::GetTickCount() - start;
      if (elapsed >= limit) break;
      wait = limit - elapsed;
    }
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, wait, QS_ALLINPUT);
    MSG message;
    while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&message);
      ::DispatchMessageA(&message);
    }
  }
  g_receiverWindow = nullptr;
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return Run(argc, argv);
  } catch (...) {
    std::fprintf(stderr, "zulogview: out of memory\n");
    return 1;
  }
}
