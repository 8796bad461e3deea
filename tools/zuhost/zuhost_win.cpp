// zuhost: plays the host application a vendor ships beside the launcher.
//
//   zuhost [--launcher PATH] [--timeout SECONDS] "<ZULAUNCHER_PARAM Command='run' .../>"
//   zuhost --policy [PROGRAM_ID]
//
// It creates a window, starts the launcher (by default ZuLauncher.exe beside zuhost.exe)
// with the parameter, in which it puts its own window handle as RetWindowHandle (replacing
// the text %HWND% when the parameter has it, else adding the attribute unless the parameter
// already names a handle of its own), waits for the
// launcher's WM_ZULAUNCHER_RESULT and for the launcher to exit, and prints:
//   posted: <code> (<meaning>)      or  posted: none
//   exit: <code>
// Its own exit code is the launcher's; 255 when the launcher could not be started or did not
// end within the time limit (default 600 seconds).
//
// With --policy it starts nothing: it prints the administrator's policy in effect for the
// program (or for every program) as the launcher reads it, one line for each value it would
// ignore, then the line the launcher logs, and exits 0.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/launcher_settings.h"
#include "app/result_code.h"
#include "app/update_policy_win.h"
#include "common/format.h"
#include "common/text.h"
#include "common/unique_handle_win.h"

namespace {

UINT g_resultMessage = 0;
bool g_resultPosted = false;
int g_postedCode = 0;

LRESULT CALLBACK HostWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == g_resultMessage && g_resultMessage != 0) {
    g_resultPosted = true;
    g_postedCode = static_cast<int>(wParam);
    return 0;
  }
  return ::DefWindowProcA(window, message, wParam, lParam);
}

std::string DefaultLauncherPath() {
  char path[MAX_PATH * 4] = {};
  DWORD length = ::GetModuleFileNameA(nullptr, path, sizeof path);
  std::string self(path, length);
  size_t slash = ReverseFindChar(self, '\\');
  return (slash == std::string::npos ? std::string() : self.substr(0, slash + 1)) +
         "ZuLauncher.exe";
}

std::string WithWindowHandle(std::string parameter, HWND window) {
  const std::string handle = Format("%u", static_cast<unsigned>(reinterpret_cast<uintptr_t>(window)));
  if (ReplaceAll(parameter, "%HWND%", handle) > 0) return parameter;
  if (FindSubstring(parameter, "RetWindowHandle") != std::string::npos) return parameter;
  const std::string element = "<ZULAUNCHER_PARAM";
  size_t at = FindSubstring(parameter, element);
  if (at == std::string::npos) return parameter;  // the launcher will say what is wrong
  parameter.insert(at + element.size(), " RetWindowHandle='" + handle + "'");
  return parameter;
}

void PumpMessages() {
  MSG message;
  while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&message);
    ::DispatchMessageA(&message);
  }
}

int Usage() {
  std::fprintf(stderr,
               "usage: zuhost [--launcher PATH] [--timeout SECONDS] \"<ZULAUNCHER_PARAM .../>\"\n"
               "       zuhost --policy [PROGRAM_ID]\n");
  return 255;
}

int PrintPolicy(const std::string& programId) {
  const ResolvedPolicy resolved = ReadUpdatePolicy(programId);
  for (const std::string& line : resolved.ignored) std::printf("%s\n", line.c_str());
  std::printf("%s\n", resolved.summary.c_str());
  std::fflush(stdout);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::string launcher = DefaultLauncherPath();
  unsigned timeoutSeconds = 600;
  std::string parameter;
  bool haveParameter = false;
  if (argc >= 2 && std::string(argv[1]) == "--policy") {
    if (argc > 3) return Usage();
    return PrintPolicy(argc == 3 ? argv[2] : "");
  }
  for (int i = 1; i < argc; ++i) {
    std::string argument = argv[i];
    if (argument == "--launcher" && i + 1 < argc) {
      launcher = argv[++i];
    } else if (argument == "--timeout" && i + 1 < argc) {
      timeoutSeconds = static_cast<unsigned>(std::strtoul(argv[++i], nullptr, 10));
    } else if (!haveParameter) {
      parameter = argument;
      haveParameter = true;
    } else {
      return Usage();
    }
  }
  if (!haveParameter) return Usage();

  g_resultMessage = ::RegisterWindowMessageA(kResultMessageName);
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = HostWindowProc;
  windowClass.hInstance = ::GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "ZuHostWindow";
  ::RegisterClassA(&windowClass);
  HWND window = ::CreateWindowExA(0, "ZuHostWindow", "zuhost", WS_OVERLAPPEDWINDOW, 0, 0, 100,
                                  100, nullptr, nullptr, windowClass.hInstance, nullptr);
  if (!window) {
    std::fprintf(stderr, "zuhost: cannot create the host window (%lu)\n", ::GetLastError());
    return 255;
  }

  std::string commandLine = "\"" + launcher + "\" " + WithWindowHandle(parameter, window);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process)) {
    std::fprintf(stderr, "zuhost: cannot start %s (%lu)\n", launcher.c_str(), ::GetLastError());
    return 255;
  }
  UniqueKernelHandle processHandle(process.hProcess);
  UniqueKernelHandle threadHandle(process.hThread);

  const DWORD deadline = ::GetTickCount() + timeoutSeconds * 1000;
  for (;;) {
    const DWORD now = ::GetTickCount();
    const DWORD left = static_cast<LONG>(deadline - now) > 0 ? deadline - now : 0;
    DWORD wait = ::MsgWaitForMultipleObjects(1, &process.hProcess, FALSE, left, QS_ALLINPUT);
    if (wait == WAIT_OBJECT_0) break;
    if (wait == WAIT_OBJECT_0 + 1) {
      PumpMessages();
      continue;
    }
    std::fprintf(stderr, "zuhost: the launcher did not end within %u seconds\n", timeoutSeconds);
    std::printf("posted: %s\n", g_resultPosted ? Format("%d", g_postedCode).c_str() : "none");
    std::fflush(stdout);
    return 255;
  }
  // The result was posted before the launcher ended; take whatever is still queued.
  PumpMessages();

  DWORD exitCode = 0;
  ::GetExitCodeProcess(process.hProcess, &exitCode);
  if (g_resultPosted)
    std::printf("posted: %d (%s)\n", g_postedCode, ResultCodeMeaning(g_postedCode).c_str());
  else
    std::printf("posted: none\n");
  std::printf("exit: %d\n", static_cast<int>(exitCode));
  std::fflush(stdout);
  ::DestroyWindow(window);
  return static_cast<int>(exitCode);
}
