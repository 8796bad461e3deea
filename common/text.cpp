#include "common/text.h"

#include "common/codepage.h"

namespace {

// Length in bytes of the character that starts at `position`: 2 for a lead byte that has a
// byte after it, else 1. A lead byte at the very end stands alone.
size_t CharLength(const std::string& text, size_t position) {
  if (IsLeadByte(static_cast<unsigned char>(text[position])) && position + 1 < text.size())
    return 2;
  return 1;
}

// First character start at or after `start`, walking from the beginning so that a trail byte
// is never taken for a character.
size_t FirstBoundaryAtOrAfter(const std::string& text, size_t start) {
  size_t position = 0;
  while (position < start && position < text.size()) position += CharLength(text, position);
  return position;
}

char FoldAscii(char ch) { return (ch >= 'A' && ch <= 'Z') ? static_cast<char>(ch - 'A' + 'a') : ch; }

}  // namespace

size_t FindChar(const std::string& text, char ch, size_t start) {
  for (size_t position = FirstBoundaryAtOrAfter(text, start); position < text.size();
       position += CharLength(text, position)) {
    if (text[position] == ch) return position;
  }
  return std::string::npos;
}

size_t ReverseFindChar(const std::string& text, char ch) {
  size_t found = std::string::npos;
  for (size_t position = 0; position < text.size(); position += CharLength(text, position)) {
    if (text[position] == ch) found = position;
  }
  return found;
}

size_t FindSubstring(const std::string& text, const std::string& pattern, size_t start) {
  if (pattern.empty()) return std::string::npos;
  for (size_t position = FirstBoundaryAtOrAfter(text, start);
       position + pattern.size() <= text.size(); position += CharLength(text, position)) {
    if (text.compare(position, pattern.size(), pattern) == 0) return position;
  }
  return std::string::npos;
}

size_t ReplaceAll(std::string& text, const std::string& pattern, const std::string& replacement) {
  if (pattern.empty()) return 0;
  std::string result;
  size_t count = 0;
  size_t copied = 0;
  size_t position = 0;
  while (position < text.size()) {
    if (text.compare(position, pattern.size(), pattern) == 0) {
      result.append(text, copied, position - copied);
      result += replacement;
      position += pattern.size();
      copied = position;
      ++count;
    } else {
      position += CharLength(text, position);
    }
  }
  if (count == 0) return 0;
  result.append(text, copied, std::string::npos);
  text.swap(result);
  return count;
}

bool IsTrimSpace(char ch) {
  return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n' || ch == '\v' || ch == '\f';
}

// Trimming from the left needs no character walk: a whitespace byte is never a lead byte.
// From the right it does, since a trail byte may equal a whitespace byte in some code pages.
std::string TrimLeft(const std::string& text) {
  size_t first = 0;
  while (first < text.size() && IsTrimSpace(text[first])) ++first;
  return text.substr(first);
}

std::string TrimRight(const std::string& text) {
  size_t end = 0;  // end of the last character that is not whitespace
  for (size_t position = 0; position < text.size();) {
    size_t length = CharLength(text, position);
    if (length == 2 || !IsTrimSpace(text[position])) end = position + length;
    position += length;
  }
  return text.substr(0, end);
}

std::string Trim(const std::string& text) { return TrimLeft(TrimRight(text)); }

std::vector<std::string> Tokenize(const std::string& text, const std::string& delimiters) {
  std::vector<std::string> tokens;
  std::string current;
  for (size_t position = 0; position < text.size();) {
    size_t length = CharLength(text, position);
    if (length == 1 && delimiters.find(text[position]) != std::string::npos) {
      if (!current.empty()) tokens.push_back(std::move(current));
      current.clear();
    } else {
      current.append(text, position, length);
    }
    position += length;
  }
  if (!current.empty()) tokens.push_back(std::move(current));
  return tokens;
}

std::vector<std::string> SplitCommaList(const std::string& text) {
  std::vector<std::string> items;
  size_t begin = 0;
  for (;;) {
    const size_t comma = text.find(',', begin);
    items.push_back(Trim(text.substr(begin, comma == std::string::npos ? comma : comma - begin)));
    if (comma == std::string::npos) return items;
    begin = comma + 1;
  }
}

std::string Left(const std::string& text, int count) {
  if (count <= 0) return std::string();
  return text.substr(0, static_cast<size_t>(count));
}

std::string Mid(const std::string& text, int first) {
  if (first < 0) first = 0;
  if (static_cast<size_t>(first) >= text.size()) return std::string();
  return text.substr(static_cast<size_t>(first));
}

std::string Mid(const std::string& text, int first, int count) {
  if (first < 0) first = 0;
  if (count <= 0 || static_cast<size_t>(first) >= text.size()) return std::string();
  return text.substr(static_cast<size_t>(first), static_cast<size_t>(count));
}

std::string Right(const std::string& text, int count) {
  if (count <= 0) return std::string();
  size_t length = static_cast<size_t>(count);
  if (length >= text.size()) return text;
  return text.substr(text.size() - length);
}

int CompareNoCase(const std::string& a, const std::string& b) {
  // Letters are folded only where they stand as single-byte characters: the trail byte of a
  // double-byte character may equal an ASCII letter and must compare as it is.
  size_t i = 0;
  size_t j = 0;
  while (i < a.size() && j < b.size()) {
    size_t lengthA = CharLength(a, i);
    size_t lengthB = CharLength(b, j);
    for (size_t k = 0; k < lengthA || k < lengthB; ++k) {
      if (k >= lengthA) return -1;
      if (k >= lengthB) return 1;
      unsigned char byteA = static_cast<unsigned char>(lengthA == 1 ? FoldAscii(a[i]) : a[i + k]);
      unsigned char byteB = static_cast<unsigned char>(lengthB == 1 ? FoldAscii(b[j]) : b[j + k]);
      if (byteA != byteB) return byteA < byteB ? -1 : 1;
    }
    i += lengthA;
    j += lengthB;
  }
  if (i < a.size()) return 1;
  if (j < b.size()) return -1;
  return 0;
}

bool EqualsNoCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() && CompareNoCase(a, b) == 0;
}
