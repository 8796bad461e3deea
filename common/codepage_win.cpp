// The code-page layer of the Windows build: the system's lead-byte table and conversions.
#include <windows.h>

#include <string>

#include "common/codepage.h"
#include "common/unicode.h"

namespace {

unsigned g_activeCodePage = 0;  // 0: the system ANSI code page

UINT CodePage() { return g_activeCodePage ? g_activeCodePage : ::GetACP(); }

// The system conversion without flags and without a default character, as the launcher has
// always converted; only well-formed input reaches it.
bool WideToActiveCodePage(const std::wstring& wide, std::string& ansi) {
  if (wide.empty()) {
    ansi.clear();
    return true;
  }
  int length = ::WideCharToMultiByte(CodePage(), 0, wide.data(), static_cast<int>(wide.size()),
                                     nullptr, 0, nullptr, nullptr);
  if (length <= 0) return false;
  std::string output(static_cast<size_t>(length), '\0');
  if (::WideCharToMultiByte(CodePage(), 0, wide.data(), static_cast<int>(wide.size()),
                            output.data(), length, nullptr, nullptr) != length)
    return false;
  ansi.swap(output);
  return true;
}

std::wstring ToUtf16(const std::u32string& codePoints) {
  std::wstring wide;
  wide.reserve(codePoints.size());
  for (char32_t codePoint : codePoints) {
    if (codePoint >= 0x10000) {
      codePoint -= 0x10000;
      wide += static_cast<wchar_t>(0xD800 + (codePoint >> 10));
      wide += static_cast<wchar_t>(0xDC00 + (codePoint & 0x3FF));
    } else {
      wide += static_cast<wchar_t>(codePoint);
    }
  }
  return wide;
}

}  // namespace

unsigned ActiveCodePage() { return CodePage(); }

void SetActiveCodePage(unsigned codePage) { g_activeCodePage = codePage; }

bool IsLeadByte(unsigned char byte) { return ::IsDBCSLeadByteEx(CodePage(), byte) != FALSE; }

bool Utf8ToAnsi(const std::string& utf8, std::string& ansi) {
  std::u32string codePoints;
  if (!DecodeUtf8(utf8, codePoints)) return false;
  return WideToActiveCodePage(ToUtf16(codePoints), ansi);
}

bool Utf16LeToAnsi(const void* bytes, size_t byteCount, std::string& ansi) {
  std::u32string codePoints;
  if (!DecodeUtf16Le(bytes, byteCount, codePoints)) return false;
  return WideToActiveCodePage(ToUtf16(codePoints), ansi);
}

bool AnsiToUtf8(const std::string& ansi, std::string& utf8) {
  if (ansi.empty()) {
    utf8.clear();
    return true;
  }
  int units = ::MultiByteToWideChar(CodePage(), MB_ERR_INVALID_CHARS, ansi.data(),
                                    static_cast<int>(ansi.size()), nullptr, 0);
  if (units <= 0) return false;
  std::wstring wide(static_cast<size_t>(units), L'\0');
  ::MultiByteToWideChar(CodePage(), MB_ERR_INVALID_CHARS, ansi.data(),
                        static_cast<int>(ansi.size()), wide.data(), units);
  std::u32string codePoints;
  if (!DecodeUtf16Le(wide.data(), wide.size() * 2, codePoints)) return false;
  std::string output;
  for (char32_t codePoint : codePoints) AppendUtf8(output, codePoint);
  utf8.swap(output);
  return true;
}
