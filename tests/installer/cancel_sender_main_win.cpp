// cancel_sender.exe WINDOW: another process that keeps sending WM_COMMAND/IDCANCEL to the
// window (its handle in decimal) until the window is gone, as a hostile or confused program
// would. Exits with the number of sends the window's thread took (at most 1000), or 255 when
// the argument names no window.
#include <windows.h>

#include <cstdlib>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
  HWND window =
      reinterpret_cast<HWND>(static_cast<INT_PTR>(std::strtoll(commandLine, nullptr, 10)));
  if (!::IsWindow(window)) return 255;
  int delivered = 0;
  while (::IsWindow(window)) {
    DWORD_PTR reply = 0;
    if (::SendMessageTimeoutA(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0, SMTO_NORMAL,
                              200, &reply) &&
        delivered < 1000)
      ++delivered;
    ::Sleep(10);
  }
  return delivered;
}
