// ZU Demo: the small program that the demo installer installs and the launcher starts. It
// shows one window naming itself, the version its INI beside it records and the arguments it
// was started with, and ends when that window is closed.
#include <windows.h>

#include <string>

namespace {

std::string g_text;

std::string ModuleDir() {
  char path[MAX_PATH * 4] = {};
  DWORD length = ::GetModuleFileNameA(nullptr, path, sizeof path);
  std::string dir(path, length < sizeof path ? length : 0);
  size_t slash = dir.find_last_of('\\');
  return slash == std::string::npos ? std::string() : dir.substr(0, slash + 1);
}

LRESULT CALLBACK DemoWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = ::BeginPaint(window, &paint);
      RECT client;
      ::GetClientRect(window, &client);
      ::InflateRect(&client, -12, -12);
      HGDIOBJ previous = ::SelectObject(dc, ::GetStockObject(DEFAULT_GUI_FONT));
      ::SetBkMode(dc, TRANSPARENT);
      ::DrawTextA(dc, g_text.c_str(), static_cast<int>(g_text.size()), &client,
                  DT_LEFT | DT_WORDBREAK);
      ::SelectObject(dc, previous);
      ::EndPaint(window, &paint);
      return 0;
    }
    case WM_DESTROY:
      ::PostQuitMessage(0);
      return 0;
    default:
      return ::DefWindowProcA(window, message, wParam, lParam);
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR arguments, int showCommand) {
  std::string ini = ModuleDir() + "zu_demo.ini";
  int version = static_cast<int>(::GetPrivateProfileIntA("GENERAL", "VERSION", 0, ini.c_str()));
  int minorVersion =
      static_cast<int>(::GetPrivateProfileIntA("GENERAL", "MINORVERSION", 0, ini.c_str()));
  g_text = "ZU Demo, version " + std::to_string(version) + "." + std::to_string(minorVersion) +
           "\r\nStarted with: " + (arguments && *arguments ? arguments : "(no arguments)");

  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = &DemoWindowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  windowClass.lpszClassName = "ZuDemoWindow";
  if (!::RegisterClassA(&windowClass)) return 1;
  HWND window =
      ::CreateWindowExA(0, windowClass.lpszClassName, "ZU Demo", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                        CW_USEDEFAULT, 420, 160, nullptr, nullptr, instance, nullptr);
  if (!window) return 1;
  ::ShowWindow(window, showCommand);
  MSG message;
  while (::GetMessageA(&message, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&message);
    ::DispatchMessageA(&message);
  }
  return 0;
}
