// Move-only owners for Win32 handles: one owner per handle, released exactly once.
// A traits struct names the handle type, its empty value and its close call.
#pragma once

#include <windows.h>
// After windows.h, which defines the types they use.
#include <bcrypt.h>
#include <wininet.h>

#include <utility>

template <typename Traits>
class UniqueHandle {
 public:
  using Handle = typename Traits::Handle;

  UniqueHandle() = default;
  explicit UniqueHandle(Handle handle) : m_handle(handle) {}
  ~UniqueHandle() { reset(); }

  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& other) noexcept : m_handle(other.release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }

  Handle get() const { return m_handle; }
  explicit operator bool() const { return m_handle != Traits::Empty(); }

  Handle release() {
    Handle handle = m_handle;
    m_handle = Traits::Empty();
    return handle;
  }

  void reset(Handle handle = Traits::Empty()) {
    if (m_handle != Traits::Empty()) Traits::Close(m_handle);
    m_handle = handle;
  }

  // For out-parameters of creating calls (RegOpenKeyExA and the like).
  Handle* put() {
    reset();
    return &m_handle;
  }

 private:
  Handle m_handle = Traits::Empty();
};

struct KernelHandleTraits {  // processes, threads, events: null is empty
  using Handle = HANDLE;
  static Handle Empty() { return nullptr; }
  static void Close(Handle handle) { ::CloseHandle(handle); }
};

struct FileHandleTraits {  // CreateFile: INVALID_HANDLE_VALUE is empty
  using Handle = HANDLE;
  static Handle Empty() { return INVALID_HANDLE_VALUE; }
  static void Close(Handle handle) { ::CloseHandle(handle); }
};

struct InternetHandleTraits {
  using Handle = HINTERNET;
  static Handle Empty() { return nullptr; }
  static void Close(Handle handle) { ::InternetCloseHandle(handle); }
};

struct RegistryKeyTraits {
  using Handle = HKEY;
  static Handle Empty() { return nullptr; }
  static void Close(Handle handle) { ::RegCloseKey(handle); }
};

struct GlobalMemoryTraits {
  using Handle = HGLOBAL;
  static Handle Empty() { return nullptr; }
  static void Close(Handle handle) { ::GlobalFree(handle); }
};

struct GdiObjectTraits {  // bitmaps, brushes, fonts we created
  using Handle = HGDIOBJ;
  static Handle Empty() { return nullptr; }
  static void Close(Handle handle) { ::DeleteObject(handle); }
};

struct BitmapTraits {
  using Handle = HBITMAP;
  static Handle Empty() { return nullptr; }
  static void Close(Handle handle) { ::DeleteObject(handle); }
};

struct MemoryDcTraits {  // CreateCompatibleDC
  using Handle = HDC;
  static Handle Empty() { return nullptr; }
  static void Close(Handle handle) { ::DeleteDC(handle); }
};

struct BCryptAlgorithmTraits {
  using Handle = BCRYPT_ALG_HANDLE;
  static Handle Empty() { return nullptr; }
  static void Close(Handle handle) { ::BCryptCloseAlgorithmProvider(handle, 0); }
};

struct BCryptKeyTraits {
  using Handle = BCRYPT_KEY_HANDLE;
  static Handle Empty() { return nullptr; }
  static void Close(Handle handle) { ::BCryptDestroyKey(handle); }
};

struct LocalMemoryTraits {  // what the system hands out to be freed with LocalFree
  using Handle = HLOCAL;
  static Handle Empty() { return nullptr; }
  static void Close(Handle handle) { ::LocalFree(handle); }
};

using UniqueKernelHandle = UniqueHandle<KernelHandleTraits>;
using UniqueFileHandle = UniqueHandle<FileHandleTraits>;
using UniqueInternetHandle = UniqueHandle<InternetHandleTraits>;
using UniqueRegistryKey = UniqueHandle<RegistryKeyTraits>;
using UniqueGlobalMemory = UniqueHandle<GlobalMemoryTraits>;
using UniqueGdiObject = UniqueHandle<GdiObjectTraits>;
using UniqueBitmap = UniqueHandle<BitmapTraits>;
using UniqueMemoryDc = UniqueHandle<MemoryDcTraits>;
using UniqueBCryptAlgorithm = UniqueHandle<BCryptAlgorithmTraits>;
using UniqueBCryptKey = UniqueHandle<BCryptKeyTraits>;
using UniqueLocalMemory = UniqueHandle<LocalMemoryTraits>;

// A window DC remembers its window for ReleaseDC.
class WindowDc {
 public:
  explicit WindowDc(HWND window) : m_window(window), m_dc(::GetDC(window)) {}
  ~WindowDc() {
    if (m_dc) ::ReleaseDC(m_window, m_dc);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  HDC get() const { return m_dc; }
  explicit operator bool() const { return m_dc != nullptr; }

 private:
  HWND m_window;
  HDC m_dc;
};

// A paint DC holds its PAINTSTRUCT for EndPaint.
class PaintDc {
 public:
  explicit PaintDc(HWND window) : m_window(window) { m_dc = ::BeginPaint(window, &m_paint); }
  ~PaintDc() { ::EndPaint(m_window, &m_paint); }
  PaintDc(const PaintDc&) = delete;
  PaintDc& operator=(const PaintDc&) = delete;
  HDC get() const { return m_dc; }
  const PAINTSTRUCT& paint() const { return m_paint; }

 private:
  HWND m_window;
  PAINTSTRUCT m_paint{};
  HDC m_dc = nullptr;
};

// Puts the previously selected object back when it goes out of scope. Declare the object
// being selected before the guard, so the guard unwinds first and the object is never
// deleted while still selected.
class SelectGuard {
 public:
  SelectGuard(HDC dc, HGDIOBJ object) : m_dc(dc), m_previous(::SelectObject(dc, object)) {}
  ~SelectGuard() {
    if (m_previous && m_previous != HGDI_ERROR) ::SelectObject(m_dc, m_previous);
  }
  SelectGuard(const SelectGuard&) = delete;
  SelectGuard& operator=(const SelectGuard&) = delete;

 private:
  HDC m_dc;
  HGDIOBJ m_previous;
};
