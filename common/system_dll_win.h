// DLLs come from the system folder only. The process restricts the DLL search before it loads
// anything on demand, and the DLLs it imports late (WinINet, common controls, shell, COM,
// BCrypt, WinTrust: linked through delay-import libraries) are loaded from the system folder
// by the delay-load hook defined beside these functions, so a DLL of the same name planted
// beside the launcher or in the current directory is never picked up.
#pragma once

#include <windows.h>

// Limits the default DLL search to the system folder (SetDefaultDllDirectories, looked up at
// run time because older systems lack it; there SetDllDirectoryA("") at least drops the
// current directory). The first thing the process does.
void RestrictDllSearchToSystemFolder();

// Loads `name` (a bare file name such as "wininet.dll") from the system folder only; null
// when it cannot.
HMODULE LoadSystemDll(const char* name);

// Makes the version 6 common controls (the process manifest does not ask for them, which spares
// every request their look-up at start) the ones in effect for as long as it lives, and
// initialises them once. Every dialog and box is created inside one.
class CommonControlsScope {
 public:
  CommonControlsScope();
  ~CommonControlsScope();
  CommonControlsScope(const CommonControlsScope&) = delete;
  CommonControlsScope& operator=(const CommonControlsScope&) = delete;

 private:
  ULONG_PTR m_cookie = 0;
  bool m_active = false;
};
