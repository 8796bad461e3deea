#include "res/load_text.h"

#include <windows.h>

#include <cstring>

namespace {
char g_textBuffer[1024];
}

const char* LoadText(TextId id) {
  // LoadStringA converts the UTF-16 resource text into the ANSI code page.
  int length = ::LoadStringA(::GetModuleHandleA(nullptr), static_cast<UINT>(TextNumber(id)),
                             g_textBuffer, static_cast<int>(sizeof g_textBuffer));
  if (length <= 0) std::strcpy(g_textBuffer, "--");
  return g_textBuffer;
}
