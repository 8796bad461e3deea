// Loads "wininet.dll" by its plain name, as any program may; with the argument "restricted" it
// first restricts the DLL search as the launcher does. Exit code 0 when a DLL was loaded. The
// DLL-loading tests run it beside a planted wininet.dll, which shows their rig can see a
// planted DLL being taken.
#include <windows.h>

#include <cstring>

#include "common/system_dll_win.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
  if (commandLine && std::strcmp(commandLine, "restricted") == 0)
    RestrictDllSearchToSystemFolder();
  return ::LoadLibraryA("wininet.dll") ? 0 : 1;
}
