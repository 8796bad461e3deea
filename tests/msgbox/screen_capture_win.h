// Test support: reads what the X display shows of a window (through the screen DC) and saves
// it as a PNG in the build tree's "screenshots" folder, beside the test program.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "common/unique_handle_win.h"
#include "tests/msgbox/png_writer.h"

inline std::string ScreenshotDirectory() {
  char path[MAX_PATH] = {};
  ::GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string directory(path);
  directory.erase(directory.find_last_of('\\') + 1);
  directory += "screenshots\\";
  ::CreateDirectoryA(directory.c_str(), nullptr);
  return directory;
}

// The screen's pixels of `rect` as RGB rows, top row first.
inline bool CaptureScreenRect(const RECT& rect, std::vector<uint8_t>& rgb) {
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  if (width <= 0 || height <= 0) return false;
  WindowDc screen(nullptr);
  UniqueMemoryDc memory(::CreateCompatibleDC(screen.get()));
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  UniqueBitmap dib(::CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!dib || !memory) return false;
  {
    SelectGuard select(memory.get(), dib.get());
    if (!::BitBlt(memory.get(), 0, 0, width, height, screen.get(), rect.left, rect.top, SRCCOPY)) {
      return false;
    }
    ::GdiFlush();
  }
  const uint8_t* bgra = static_cast<const uint8_t*>(bits);
  rgb.resize(static_cast<size_t>(width) * height * 3);
  for (size_t i = 0; i < static_cast<size_t>(width) * height; ++i) {
    rgb[i * 3] = bgra[i * 4 + 2];
    rgb[i * 3 + 1] = bgra[i * 4 + 1];
    rgb[i * 3 + 2] = bgra[i * 4];
  }
  return true;
}

struct WindowCapture {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgb;  // top row first
  POINT clientOrigin{};      // the window's client (0, 0) within the capture

  // The colour at client coordinates (x, y), as a COLORREF.
  COLORREF ClientPixel(int x, int y) const {
    const size_t at = (static_cast<size_t>(clientOrigin.y + y) * width + clientOrigin.x + x) * 3;
    return RGB(rgb[at], rgb[at + 1], rgb[at + 2]);
  }
};

inline bool CaptureWindow(HWND window, WindowCapture& capture) {
  RECT rect{};
  if (!::GetWindowRect(window, &rect) || !CaptureScreenRect(rect, capture.rgb)) return false;
  capture.width = rect.right - rect.left;
  capture.height = rect.bottom - rect.top;
  POINT origin = {0, 0};
  ::ClientToScreen(window, &origin);
  capture.clientOrigin = {origin.x - rect.left, origin.y - rect.top};
  return true;
}

// Saves the capture as screenshots\<name> beside the test program; the path it wrote.
inline std::string SaveCapture(const WindowCapture& capture, const std::string& name) {
  const std::string path = ScreenshotDirectory() + name;
  return png_writer::WritePng(path, capture.width, capture.height, capture.rgb) ? path : "";
}
