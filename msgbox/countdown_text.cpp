#include "msgbox/countdown_text.h"

#include "common/format.h"

// '%' (0x25) and 'd' after it cannot be part of a double-byte character in the code pages
// the box meets (their lead bytes are 0x81 and above, and a '%' is never a trail byte), so
// a byte scan finds the conversions.
bool IsCountdownFormat(const std::string& text) {
  int conversions = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') continue;
    if (i + 1 >= text.size()) return false;  // a lone '%' at the end
    char next = text[i + 1];
    if (next == 'd') {
      ++conversions;
    } else if (next != '%') {
      return false;  // any other conversion, flag, width or length
    }
    ++i;
  }
  return conversions == 1;
}

std::string CountdownText(const std::string& text, int seconds) {
  if (!IsCountdownFormat(text)) return text;
  // The text was checked to hold exactly one %d and nothing else but %% escapes, so it is a
  // format with exactly one int argument.
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
#pragma GCC diagnostic ignored "-Wformat-security"
#endif
  return Format(text.c_str(), seconds);
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif
}
