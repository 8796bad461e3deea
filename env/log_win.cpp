#include "env/log_win.h"

#include <cstdarg>

#include "env/log.h"

void SendLogText(HWND receiver, const std::string& text) {
  COPYDATASTRUCT data{};
  data.dwData = 0;
  data.cbData = static_cast<DWORD>(text.size() + 1);
  data.lpData = const_cast<char*>(text.c_str());
  DWORD_PTR reply = 0;
  // A receiver that hangs must not hang the launcher: bounded wait, abort when it is hung.
  // SMTO_BLOCK: while it waits, this thread takes no message sent to it by another process,
  // so a log line never lets a window of ours run a handler in the middle of a step.
  ::SendMessageTimeoutA(receiver, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data),
                        SMTO_ABORTIFHUNG | SMTO_BLOCK, kLogSendTimeoutMilliseconds, &reply);
}

void LogLine(const char* format, ...) {
  HWND receiver = ::FindWindowA(kLogReceiverClassName, kLogReceiverTitle);
  if (!receiver) return;
  va_list args;
  va_start(args, format);
  std::string text = FormatV(format, args);
  va_end(args);
  SendLogText(receiver, text);
}
