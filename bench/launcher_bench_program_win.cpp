// The program that launcher_bench.exe starts, once through ZuLauncher.exe and once directly.
// It does the least a program can do to say "I am up": with BASE as its whole command-line
// tail, it takes the named mutex BASE.running (held until the process ends, so the bench sees
// the program gone when the mutex turns abandoned) and then sets the named event
// BASE.started, which the bench times. No window, no other DLL than the runtime's.
#include <windows.h>

#include <string>

#include "common/unique_handle_win.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
  std::string base = commandLine ? commandLine : "";
  while (!base.empty() && (base.back() == ' ' || base.back() == '\t')) base.pop_back();
  if (base.empty()) return 2;

  // The mutex stays owned by this thread until the process ends, whatever becomes of the
  // handle; the bench's wait on it then returns WAIT_ABANDONED.
  UniqueKernelHandle running(::OpenMutexA(SYNCHRONIZE, FALSE, (base + ".running").c_str()));
  if (!running || ::WaitForSingleObject(running.get(), 10000) == WAIT_TIMEOUT) return 3;

  UniqueKernelHandle started(::OpenEventA(EVENT_MODIFY_STATE, FALSE, (base + ".started").c_str()));
  if (!started || !::SetEvent(started.get())) return 4;
  return 0;
}
