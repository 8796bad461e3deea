// The line-level pieces of the INI document reader: the line reader, the classifier and the
// key/value splitter. Lines are narrow text in the ANSI code page; finding a character steps
// over double-byte characters. Portable.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

enum class IniLineKind { Section = 0, KeyValue = 1, Comment = 2, Empty = 3, Other = 4 };

// Hands out the lines of a text one by one. A line feed ends a line, a carriage return is
// dropped wherever it stands, and a last line without a line feed still counts.
class IniLineReader {
 public:
  explicit IniLineReader(std::string_view text) : m_text(text) {}
  // The next line, trimmed of whitespace; false when the text has no more lines.
  bool ReadLine(std::string& line);

 private:
  std::string_view m_text;
  size_t m_position = 0;
};

// First match wins: "" is Empty, "[...]" a Section, ";..." a Comment, a line without "=" is
// Other, anything else KeyValue. `line` is trimmed.
IniLineKind ClassifyLine(const std::string& line);

// The trimmed name between the brackets of a Section line.
std::string SectionNameOf(const std::string& line);

// Splits a KeyValue line. The key may be written in double quotes (taken as written) or
// bare (trimmed); the value in double quotes (untrimmed, up to the closing quote or the end)
// or bare (trimmed, up to a ";" that starts an inline comment). False drops the line: an
// empty key, a quoted key without closing quote or without "=" after it.
bool SplitKeyValue(const std::string& line, std::string& key, std::string& value);
