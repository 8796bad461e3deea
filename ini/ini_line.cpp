#include "ini/ini_line.h"

#include <cstring>

#include "common/text.h"

namespace {

// Trim walks the whole text to find character boundaries; most lines, keys and values have
// nothing to trim, which their first and last bytes tell at once.
void TrimInPlace(std::string& text) {
  if (text.empty() || (!IsTrimSpace(text.front()) && !IsTrimSpace(text.back()))) return;
  text = Trim(text);
}

size_t SkipSpacesAndTabs(const std::string& line, size_t position) {
  while (position < line.size() && (line[position] == ' ' || line[position] == '\t')) ++position;
  return position;
}

}  // namespace

bool IniLineReader::ReadLine(std::string& line) {
  line.clear();
  size_t start = m_position;
  size_t end = m_text.find('\n', start);
  bool hasLineFeed = end != std::string_view::npos;
  if (!hasLineFeed) end = m_text.size();
  m_position = hasLineFeed ? end + 1 : m_text.size();

  for (size_t run = start; run < end;) {
    const void* found = std::memchr(m_text.data() + run, '\r', end - run);
    size_t carriageReturn =
        found ? static_cast<size_t>(static_cast<const char*>(found) - m_text.data()) : end;
    line.append(m_text.data() + run, carriageReturn - run);
    run = carriageReturn + 1;
  }
  if (line.empty() && !hasLineFeed) return false;
  TrimInPlace(line);
  return true;
}

IniLineKind ClassifyLine(const std::string& line) {
  if (line.empty()) return IniLineKind::Empty;
  // The closing bracket must be a character of its own, not the trail byte of one.
  if (line.front() == '[' && ReverseFindChar(line, ']') == line.size() - 1) {
    return IniLineKind::Section;
  }
  if (line.front() == ';') return IniLineKind::Comment;
  if (FindChar(line, '=') == std::string::npos) return IniLineKind::Other;
  return IniLineKind::KeyValue;
}

std::string SectionNameOf(const std::string& line) {
  return Trim(Mid(line, 1, static_cast<int>(line.size()) - 2));
}

bool SplitKeyValue(const std::string& line, std::string& key, std::string& value) {
  size_t position;
  if (!line.empty() && line.front() == '"') {
    size_t closingQuote = FindChar(line, '"', 1);
    if (closingQuote == std::string::npos) return false;
    key.assign(line, 1, closingQuote - 1);
    position = closingQuote + 1;
    if (position >= line.size()) return false;
  } else {
    size_t equals = FindChar(line, '=');
    if (equals == std::string::npos) return false;
    key.assign(line, 0, equals);
    TrimInPlace(key);
    position = equals;
  }
  if (key.empty()) return false;

  position = SkipSpacesAndTabs(line, position);
  if (position >= line.size() || line[position] != '=') return false;
  position = SkipSpacesAndTabs(line, position + 1);

  if (position < line.size() && line[position] == '"') {
    size_t closingQuote = FindChar(line, '"', position + 1);
    size_t end = closingQuote == std::string::npos ? line.size() : closingQuote;
    value.assign(line, position + 1, end - position - 1);
  } else {
    size_t comment = FindChar(line, ';', position);
    size_t end = comment == std::string::npos ? line.size() : comment;
    value.assign(line, position, end - position);
    TrimInPlace(value);
  }
  return true;
}
