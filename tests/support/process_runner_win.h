// Starts a program and waits for it: its exit code, or -1 when it could not be started or did
// not end within a minute (it is then ended). Its standard output goes to `outputFile` when one
// is named. Header-only.
#pragma once

#include <windows.h>

#include <string>

#include "common/unique_handle_win.h"

inline int RunAndWait(std::string commandLine, const std::string& directory,
                      const std::string& outputFile = std::string()) {
  SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  UniqueFileHandle output;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  if (!outputFile.empty()) {
    output.reset(::CreateFileA(outputFile.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inheritable,
                               CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!output) return -1;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = output.get();
    startup.hStdError = output.get();
  }
  PROCESS_INFORMATION process{};
  if (!::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, !outputFile.empty(), 0,
                        nullptr, directory.c_str(), &startup, &process))
    return -1;
  UniqueKernelHandle processHandle(process.hProcess);
  UniqueKernelHandle threadHandle(process.hThread);
  if (::WaitForSingleObject(process.hProcess, 60000) != WAIT_OBJECT_0) {
    ::TerminateProcess(process.hProcess, 255);
    return -1;
  }
  DWORD exitCode = 255;
  ::GetExitCodeProcess(process.hProcess, &exitCode);
  return static_cast<int>(exitCode);
}
