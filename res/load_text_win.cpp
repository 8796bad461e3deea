#include <windows.h>

#include <cstring>

#include "res/load_text.h"
#include "res/text_language.h"

namespace {
char g_textBuffer[1024];
}

const char* LoadText(TextId id) {
  // A language chosen by LANGUAGE speaks instead of the string table.
  if (const std::string* text = TextInUse(id)) {
    const size_t length =
        text->size() < sizeof g_textBuffer ? text->size() : sizeof g_textBuffer - 1;
    std::memcpy(g_textBuffer, text->data(), length);
    g_textBuffer[length] = '\0';
    return g_textBuffer;
  }
  // LoadStringA converts the UTF-16 resource text into the ANSI code page.
  int length = ::LoadStringA(::GetModuleHandleA(nullptr), static_cast<UINT>(TextNumber(id)),
                             g_textBuffer, static_cast<int>(sizeof g_textBuffer));
  if (length <= 0) std::strcpy(g_textBuffer, "--");
  return g_textBuffer;
}
