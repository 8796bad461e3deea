// A stand-in "wininet.dll" that the DLL-loading tests plant beside a program. Loading it leaves
// the file "planted.loaded" in its folder. It exports nothing: a program that took it for the
// real WinINet would fail at its first WinINet call.
#include <windows.h>

#include <string>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason != DLL_PROCESS_ATTACH) return TRUE;
  char path[MAX_PATH] = {};
  const DWORD length = ::GetModuleFileNameA(instance, path, MAX_PATH);
  std::string marker(path, length < MAX_PATH ? length : 0);
  marker = marker.substr(0, marker.find_last_of('\\') + 1) + "planted.loaded";
  const HANDLE file = ::CreateFileA(marker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) ::CloseHandle(file);
  return TRUE;
}
