#include "installer/installer_process_win.h"

#include <objbase.h>

#include <vector>

#include "installer/installer_command_line.h"

namespace {

std::string CurrentDirectory() {
  char directory[MAX_PATH * 4] = {};
  DWORD length = ::GetCurrentDirectoryA(sizeof directory, directory);
  return length > 0 && length < sizeof directory ? std::string(directory, length) : std::string();
}

bool StartElevated(const std::string& installerPath, const std::string& arguments, HWND owner,
                   UniqueKernelHandle& process, const InstallerProcessApi& api) {
  const std::string directory = CurrentDirectory();
  SHELLEXECUTEINFOA info{};
  info.cbSize = sizeof info;
  // NOCLOSEPROCESS: we wait on the handle. NOASYNC: the call is finished when it returns.
  // FLAG_NO_UI: a failure is reported to us, not in a system error box.
  info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
  info.hwnd = owner;
  info.lpVerb = "runas";
  info.lpFile = installerPath.c_str();
  info.lpParameters = arguments.c_str();
  info.lpDirectory = directory.empty() ? nullptr : directory.c_str();
  info.nShow = SW_SHOWNORMAL;
  // The shell may hand the request to COM extensions, which want an apartment on this thread.
  const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  // A refused elevation fails with ERROR_CANCELLED: like any failure, not started.
  const BOOL started = api.shellExecuteEx(&info);
  if (SUCCEEDED(com)) ::CoUninitialize();
  if (!started) return false;
  process.reset(info.hProcess);
  return true;
}

}  // namespace

InstallerProcessApi PlatformInstallerProcessApi() {
  return InstallerProcessApi{&::CreateProcessA, &::ShellExecuteExA};
}

bool StartInstallerProcess(const std::string& installerPath, const std::string& arguments,
                           HWND owner, UniqueKernelHandle& process,
                           const InstallerProcessApi& api) {
  const std::string line = BuildInstallerCommandLine(installerPath, arguments);
  std::vector<char> commandLine(line.begin(), line.end());  // CreateProcessA may write to it
  commandLine.push_back('\0');

  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION created{};
  if (api.createProcess(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &created)) {
    UniqueKernelHandle thread(created.hThread);
    process.reset(created.hProcess);
    return true;
  }
  const DWORD error = ::GetLastError();
  if (error != kErrorElevationRequired) return false;
  return StartElevated(installerPath, arguments, owner, process, api);
}
