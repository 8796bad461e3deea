#include "msgbox/message_dlg_template_win.h"

#include <windows.h>

#include <cstring>
#include <string>

static_assert(sizeof(DLGTEMPLATE) == 18, "packed template header");

namespace {

// WS_POPUP | WS_BORDER | DS_MODALFRAME: no caption bar, no system menu, no DS_SETFONT.
constexpr DWORD kMessageDlgStyle = WS_POPUP | WS_BORDER | DS_MODALFRAME;
static_assert(kMessageDlgStyle == 0x80800080, "template style");

std::wstring CaptionToUtf16(const std::string& caption) {
  if (caption.empty()) return std::wstring();
  const int length = static_cast<int>(caption.size());
  const int units = ::MultiByteToWideChar(CP_ACP, 0, caption.data(), length, nullptr, 0);
  if (units <= 0) return std::wstring();
  std::wstring wide(static_cast<size_t>(units), L'\0');
  ::MultiByteToWideChar(CP_ACP, 0, caption.data(), length, &wide[0], units);
  return wide;
}

}  // namespace

void WriteMessageDlgTemplate(void* block, const std::string& caption) {
  DLGTEMPLATE header{};
  header.style = kMessageDlgStyle;
  header.dwExtendedStyle = 0;
  header.cdit = 0;
  header.x = 10;
  header.y = 10;
  header.cx = 100;
  header.cy = 70;
  unsigned char* bytes = static_cast<unsigned char*>(block);
  std::memcpy(bytes, &header, sizeof(header));
  // After the header: menu (0), window class (0, the predefined dialog class), title. The
  // block is zero-filled, so the two zero words are already there.
  WCHAR* title = reinterpret_cast<WCHAR*>(bytes + sizeof(header) + 2 * sizeof(WORD));

  std::wstring wide = CaptionToUtf16(caption);
  // A caption may hold a NUL; the title ends there anyway.
  wide = wide.substr(0, wide.find(L'\0'));
  if (wide.size() > kMessageDlgTitleUnits - 1) {
    wide.resize(kMessageDlgTitleUnits - 1);
    if (!wide.empty() && wide.back() >= 0xD800 && wide.back() <= 0xDBFF) wide.pop_back();
  }
  std::memcpy(title, wide.data(), wide.size() * sizeof(WCHAR));
  title[wide.size()] = L'\0';
}
