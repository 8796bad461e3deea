#include "ini/ini_text_edit.h"

#include "common/text.h"
#include "ini/ini_line.h"

namespace {

// A line of the raw text: [start, end) without its line feed, and the reader's view of it.
struct RawLine {
  size_t start = 0;
  size_t end = 0;  // before the line feed, or the end of the text
  bool hasLineFeed = false;
  std::string readable;  // carriage returns dropped, trimmed
};

bool NextLine(const std::string& text, size_t& position, RawLine& line) {
  if (position >= text.size()) return false;
  line.start = position;
  const size_t feed = text.find('\n', position);
  line.hasLineFeed = feed != std::string::npos;
  line.end = line.hasLineFeed ? feed : text.size();
  position = line.hasLineFeed ? feed + 1 : text.size();
  std::string withoutReturns;
  for (size_t i = line.start; i < line.end; ++i)
    if (text[i] != '\r') withoutReturns += text[i];
  line.readable = Trim(withoutReturns);
  return true;
}

}  // namespace

std::string LineEndingOf(const std::string& text) {
  const size_t feed = text.find('\n');
  return feed != std::string::npos && feed > 0 && text[feed - 1] == '\r' ? "\r\n" : "\n";
}

bool SetIniValue(std::string& text, const std::string& section, const std::string& key,
                 const std::string& value) {
  bool inSection = false;
  bool found = false;
  size_t insertAt = 0;  // after the last entry (or the header) of the first matching section
  bool insertNeedsLineFeed = false;
  bool firstSectionDone = false;
  size_t position = 0;
  RawLine line;
  while (NextLine(text, position, line)) {
    const IniLineKind kind = ClassifyLine(line.readable);
    if (kind == IniLineKind::Section) {
      if (inSection) firstSectionDone = true;
      inSection = EqualsNoCase(SectionNameOf(line.readable), section);
      if (inSection && !found) {
        found = true;
        insertAt = position;
        insertNeedsLineFeed = !line.hasLineFeed;
      }
      continue;
    }
    std::string entryKey, entryValue;
    if (!inSection || kind != IniLineKind::KeyValue ||
        !SplitKeyValue(line.readable, entryKey, entryValue))
      continue;
    if (EqualsNoCase(entryKey, key)) {
      // Keep the key as written, its "=" and whatever ends the line (a carriage return).
      const size_t equals = text.find('=', line.start);
      size_t valueEnd = line.end;
      if (valueEnd > equals + 1 && text[valueEnd - 1] == '\r') --valueEnd;
      text.replace(equals + 1, valueEnd - equals - 1, value);
      return true;
    }
    if (!firstSectionDone) {
      insertAt = position;
      insertNeedsLineFeed = !line.hasLineFeed;
    }
  }
  if (!found) return false;
  const std::string ending = LineEndingOf(text);
  text.insert(insertAt, (insertNeedsLineFeed ? ending : "") + key + "=" + value + ending);
  return true;
}
