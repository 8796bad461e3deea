// Error codes of the XML parameter parser, the record of the last error a parse hit, and
// the table of their messages. Portable; one thread at a time (XmlErrorText's buffer for
// unknown codes is shared).
#pragma once

#include <string>

#include "common/format.h"

enum XmlErrorCode : int {
  kXmlNoError = 0,
  kXmlMissingTagOpen = 1,          // an element does not start with "<"
  kXmlUnexpectedTagClose = 2,      // ">" in element content
  kXmlTagMismatch = 3,             // end tag names another element; detail "open,close"
  kXmlEndTagNotClosed = 4,         // "</name" not followed by ">" (the element still counts)
  kXmlBadInstructionName = 5,      // no word after "<?"
  kXmlBadInstructionToken = 6,     // stray token, or "=" without a value, in "<?...?>"
  kXmlInstructionNotClosed = 7,    // "?" not followed by ">", or "<?Script" without "?>"
  kXmlBadTagName = 8,              // no word after "<"
  kXmlBadAttribute = 9,            // attribute name not followed by "="
  kXmlBadAttributeValue = 10,      // no value after "="; detail: the attribute name
  kXmlDuplicateAttribute = 11,     // attribute given twice; detail: the attribute name
  kXmlBadEmptyTag = 12,            // "/" in a start tag not followed by ">"
  kXmlUnexpectedEnd = 13,          // a token is needed but the input is exhausted
  kXmlBadCommentEnd = 14,          // nothing readable after a comment's closing "--"
  kXmlCommentNotClosedByTag = 15,  // a comment's closing "--" not followed by ">"
  kXmlUnterminatedComment = 16,    // input ends inside "<!--" or another "<!" declaration
  kXmlTooDeep = 17,                // elements nested deeper than kXmlMaxElementDepth
  kXmlErrorCodeCount
};

// The root element is at depth 1. The parameter comes from an untrusted command line, and
// every level of nesting costs a stack frame on the main thread.
constexpr int kXmlMaxElementDepth = 256;

// The message for `code` in the program's narrow encoding (code page 949 Korean); for an
// unknown code, "Code:%d" in one static buffer that the next such call overwrites.
const char* XmlErrorText(int code);

// The last error of a parse: a later error replaces an earlier one, code and detail alike.
struct XmlErrorRecord {
  int code = kXmlNoError;
  std::string detail;

  void Record(XmlErrorCode newCode) {
    code = newCode;
    detail.clear();
  }
  void Record(XmlErrorCode newCode, const char* detailFormat, ...) ZU_PRINTF_FORMAT(3, 4);
  void Reset() { Record(kXmlNoError); }
};
