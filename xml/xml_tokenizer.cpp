#include "xml/xml_tokenizer.h"

#include <cstring>

#include "xml/xml_entities.h"

namespace {

bool IsXmlWhitespace(char byte) {
  return byte == ' ' || byte == '\t' || byte == '\n' || byte == '\r';
}

}  // namespace

XmlTokenizer::XmlTokenizer(const char* input, XmlErrorRecord& error)
    : m_input(input), m_length(std::strlen(input)), m_error(error) {
  m_atEnd = m_length == 0;
}

void XmlTokenizer::MoveTo(size_t position) {
  m_position = position;
  if (m_input[m_position] == '\0') m_atEnd = true;
}

void XmlTokenizer::Advance(size_t count) {
  MoveTo(m_position + count);
}

// Searches with the known length rather than strstr, whose checked builds measure the whole
// rest of the input on every call.
size_t XmlTokenizer::FindPair(char first, char second) const {
  for (size_t position = m_position; position + 1 < m_length; ++position) {
    const void* found = std::memchr(m_input + position, first, m_length - 1 - position);
    if (!found) break;
    position = static_cast<size_t>(static_cast<const char*>(found) - m_input);
    if (m_input[position + 1] == second) return position;
  }
  return kNotFound;
}

void XmlTokenizer::SkipWhitespace() {
  while (IsXmlWhitespace(Peek())) ++m_position;
  if (Peek() == '\0') m_atEnd = true;
}

XmlTokenizer::Skipped XmlTokenizer::SkipMarkup() {
  if (std::strncmp(m_input + m_position, "!--", 3) == 0) {
    Advance(3);
    size_t closer = FindPair('-', '-');
    if (closer == kNotFound) {
      MoveTo(m_length);
      m_error.Record(kXmlUnterminatedComment);
      return Skipped::Failed;
    }
    MoveTo(closer + 2);
    return Skipped::Comment;
  }
  // A DOCTYPE, a CDATA opener or anything else after "<!" is passed over up to its ">".
  const void* closer = std::memchr(m_input + m_position, '>', m_length - m_position);
  if (!closer) {
    MoveTo(m_length);
    m_error.Record(kXmlUnterminatedComment);
    return Skipped::Failed;
  }
  MoveTo(static_cast<size_t>(static_cast<const char*>(closer) - m_input) + 1);
  return Skipped::Declaration;
}

void XmlTokenizer::ReadQuoted(std::string& text) {
  size_t start = m_position + 1;
  const void* closer = std::memchr(m_input + start, '"', m_length - start);
  size_t end = closer ? static_cast<size_t>(static_cast<const char*>(closer) - m_input) : m_length;
  text.assign(m_input + start, end - start);
  // An unterminated string simply runs to the end of the input.
  MoveTo(closer ? end + 1 : m_length);
}

void XmlTokenizer::ReadBareWord(std::string& text, bool slashEndsWord) {
  size_t end = m_position;
  for (;; ++end) {
    char byte = m_input[end];
    if (byte == '\0' || byte == '<' || byte == '=' || byte == '>' || IsXmlWhitespace(byte) ||
        (slashEndsWord && byte == '/')) {
      break;
    }
  }
  text.assign(m_input + m_position, end - m_position);
  MoveTo(end);
}

bool XmlTokenizer::NextToken(XmlToken& token, bool slashEndsWord) {
  // A comment's closing "--" must be followed by ">", but another comment may stand between
  // them, whose own "--" then waits for its own ">". Counting the closers still waiting,
  // instead of reading the awaited token recursively, keeps a long chain of comments from
  // costing stack. A failure while closers wait is reported as a bad comment end.
  size_t waitingClosers = 0;
  auto fail = [&]() {
    if (waitingClosers > 0) m_error.Record(kXmlBadCommentEnd);
    return false;
  };

  for (;;) {
    SkipWhitespace();
    if (m_atEnd) {
      m_error.Record(kXmlUnexpectedEnd);
      return fail();
    }
    token.text.clear();
    char byte = Peek();
    if (byte == '<') {
      Advance(1);
      if (Peek() == '!') {
        Skipped skipped = SkipMarkup();
        if (skipped == Skipped::Failed) return fail();
        if (skipped == Skipped::Comment) ++waitingClosers;
        slashEndsWord = false;
        continue;
      }
      token.kind = XmlTokenKind::TagOpen;
    } else if (byte == '-' && Peek(1) == '-') {
      Advance(2);
      token.kind = XmlTokenKind::DoubleDash;
    } else if (byte == '>') {
      Advance(1);
      token.kind = XmlTokenKind::TagClose;
    } else if (byte == '=') {
      Advance(1);
      token.kind = XmlTokenKind::Equals;
    } else if (byte == '/') {
      Advance(1);
      token.kind = XmlTokenKind::Slash;
    } else if (byte == '?') {
      Advance(1);
      token.kind = XmlTokenKind::Question;
    } else {
      std::string raw;
      if (byte == '"') {
        ReadQuoted(raw);
      } else {
        ReadBareWord(raw, slashEndsWord);
      }
      token.kind = XmlTokenKind::Word;
      token.text = DecodeEntities(raw);
    }

    if (waitingClosers == 0) return true;
    if (token.kind != XmlTokenKind::TagClose) {
      m_error.Record(kXmlCommentNotClosedByTag);
      --waitingClosers;
      return fail();
    }
    --waitingClosers;
    slashEndsWord = false;
  }
}

bool XmlTokenizer::ReadUntilInstructionEnd(std::string& raw) {
  size_t endPosition = FindPair('?', '>');
  if (endPosition == kNotFound) {
    MoveTo(m_length);
    return false;
  }
  raw.assign(m_input + m_position, endPosition - m_position);
  MoveTo(endPosition + 2);
  return true;
}
