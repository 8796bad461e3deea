// Feeds arbitrary bytes to the INI document reader through the parser LoadFile uses, and
// checks what the document then answers. The input's length picks the ANSI code page.
#include <cstddef>
#include <cstdint>
#include <string>

#include "common/codepage.h"
#include "ini/ini_document.h"

namespace {

const unsigned kCodePages[] = {1252, 949, 932, 1251};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  SetActiveCodePage(kCodePages[size % 4]);
  IniDocument document;
  document.LoadBuffer(reinterpret_cast<const char*>(data), size);

  for (const IniSection& section : document.Sections()) {
    if (section.name.empty()) __builtin_trap();
    if (section.entries.Empty()) continue;
    const IniEntry& first = section.entries[0];
    if (first.key.empty()) __builtin_trap();
    // The first entry of a section is the first match for its own key.
    if (document.GetValue(section.name.c_str(), first.key.c_str(), "") != first.value) {
      // Names with embedded NULs cannot be asked for through a C string.
      if (section.name.find('\0') == std::string::npos && first.key.find('\0') == std::string::npos)
        __builtin_trap();
    }
  }
  document.GetValue("GENERAL", "VERSION_FILE_URL", "");
  document.Clear();
  if (!document.Sections().Empty()) __builtin_trap();
  return 0;
}
