// The tokenizer of the XML parameter parser: reads tokens from a NUL-terminated text,
// skipping comments and other "<!" declarations on the way. The parser saves and restores
// its position to look ahead. Portable; one thread at a time.
#pragma once

#include <cstddef>
#include <string>

#include "xml/xml_error.h"

enum class XmlTokenKind { TagOpen, TagClose, Word, Slash, Equals, Question, DoubleDash };

struct XmlToken {
  XmlTokenKind kind = XmlTokenKind::TagClose;
  std::string text;  // entity-decoded; "" except for Word
};

class XmlTokenizer {
 public:
  // `input` must stay alive and unchanged while the tokenizer is used. Errors are recorded
  // into `error`.
  XmlTokenizer(const char* input, XmlErrorRecord& error);

  // Reads the next token. A bare word ends at whitespace, "<", "=", ">" and, when
  // `slashEndsWord`, at "/". False at the end of input or inside a broken comment, with the
  // error recorded.
  bool NextToken(XmlToken& token, bool slashEndsWord = true);

  // The cursor, for looking ahead. Restoring moves the cursor only: once the input has been
  // read to its end, the at-end flag stays set.
  size_t Position() const { return m_position; }
  void Restore(size_t position) { m_position = position; }
  bool AtEnd() const { return m_atEnd; }
  void SkipWhitespace();

  // Copies the bytes from the cursor up to "?>" into `raw` and consumes the "?>". False when
  // the input ends first (nothing is recorded: the caller knows what was missing).
  bool ReadUntilInstructionEnd(std::string& raw);

 private:
  enum class Skipped { Nothing, Comment, Declaration, Failed };

  char Peek(size_t offset = 0) const { return m_input[m_position + offset]; }
  void Advance(size_t count);
  void MoveTo(size_t position);
  // Position of the first `first` at or after the cursor that `second` follows, or kNotFound.
  size_t FindPair(char first, char second) const;
  static constexpr size_t kNotFound = static_cast<size_t>(-1);
  // At "<!" after the "<" was consumed: skips a comment or a declaration.
  Skipped SkipMarkup();
  void ReadQuoted(std::string& text);
  void ReadBareWord(std::string& text, bool slashEndsWord);

  const char* m_input;
  size_t m_length;
  size_t m_position = 0;
  bool m_atEnd = false;
  XmlErrorRecord& m_error;
};
