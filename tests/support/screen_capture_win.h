// Saves the whole screen (the Xvfb display under Wine) as a 24-bit BMP file, for tests that
// keep a picture of a window they drive. Header-only; any thread.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "common/unique_handle_win.h"

namespace screen_capture {

inline bool SaveScreen(const std::string& path) {
  const int width = ::GetSystemMetrics(SM_CXSCREEN);
  const int height = ::GetSystemMetrics(SM_CYSCREEN);
  WindowDc screen(nullptr);
  if (!screen || width <= 0 || height <= 0) return false;
  UniqueMemoryDc memory(::CreateCompatibleDC(screen.get()));
  UniqueBitmap bitmap(::CreateCompatibleBitmap(screen.get(), width, height));
  if (!memory || !bitmap) return false;
  {
    SelectGuard select(memory.get(), bitmap.get());
    if (!::BitBlt(memory.get(), 0, 0, width, height, screen.get(), 0, 0, SRCCOPY)) return false;
  }
  BITMAPINFOHEADER header{};
  header.biSize = sizeof header;
  header.biWidth = width;
  header.biHeight = height;  // bottom-up rows, as BMP files store them
  header.biPlanes = 1;
  header.biBitCount = 24;
  header.biCompression = BI_RGB;
  const DWORD rowBytes = ((static_cast<DWORD>(width) * 3 + 3) / 4) * 4;
  std::vector<BYTE> pixels(rowBytes * static_cast<DWORD>(height));
  if (!::GetDIBits(memory.get(), bitmap.get(), 0, static_cast<UINT>(height), pixels.data(),
                   reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS)) {
    return false;
  }
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof file + sizeof header;
  file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
  UniqueFileHandle output(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!output) return false;
  DWORD written = 0;
  return ::WriteFile(output.get(), &file, sizeof file, &written, nullptr) &&
         ::WriteFile(output.get(), &header, sizeof header, &written, nullptr) &&
         ::WriteFile(output.get(), pixels.data(), static_cast<DWORD>(pixels.size()), &written,
                     nullptr);
}

}  // namespace screen_capture
