// Starting the downloaded installer as a process of its own. Installers that demand
// administrator rights make CreateProcessA fail with ERROR_ELEVATION_REQUIRED; exactly that
// failure is retried through ShellExecuteExA with the "runas" verb, which lets the system ask
// the user for elevation. User-interface thread only.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <string>

#include "common/unique_handle_win.h"

// CreateProcessA's answer for a program whose manifest demands administrator rights
// (ERROR_ELEVATION_REQUIRED, which the MinGW headers lack).
constexpr DWORD kErrorElevationRequired = 740;

// The two platform calls an installer start makes. Tests pass their own to see the elevation
// fallback, which Wine never triggers.
struct InstallerProcessApi {
  BOOL(WINAPI* createProcess)
  (LPCSTR applicationName, LPSTR commandLine, LPSECURITY_ATTRIBUTES processAttributes,
   LPSECURITY_ATTRIBUTES threadAttributes, BOOL inheritHandles, DWORD creationFlags,
   LPVOID environment, LPCSTR currentDirectory, LPSTARTUPINFOA startupInfo,
   LPPROCESS_INFORMATION processInformation);
  BOOL(WINAPI* shellExecuteEx)(SHELLEXECUTEINFOA* info);
};

// The real calls: CreateProcessA and ShellExecuteExA.
InstallerProcessApi PlatformInstallerProcessApi();

// Starts `installerPath` with `arguments` (command line `"path" arguments`) in the current
// directory through `api`. True when the installer runs; `process` then holds its handle (it
// may stay empty only when the system started it without giving one). `owner` parents an
// elevation prompt.
bool StartInstallerProcess(const std::string& installerPath, const std::string& arguments,
                           HWND owner, UniqueKernelHandle& process,
                           const InstallerProcessApi& api = PlatformInstallerProcessApi());
