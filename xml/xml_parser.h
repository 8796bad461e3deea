// The recursive-descent reader that builds an XmlDocument's tree: declaration, root element,
// nested elements (at most kXmlMaxElementDepth deep), text runs and processing
// instructions. Used by XmlDocument::Parse only. Portable; one thread at a time.
#pragma once

#include <memory>

#include "xml/xml_document.h"
#include "xml/xml_tokenizer.h"

class XmlParser {
 public:
  // `input` (NUL-terminated) must outlive the parser; errors are recorded into `error`.
  XmlParser(const char* input, XmlErrorRecord& error);

  // Reads an optional leading processing instruction into `declaration`, then the root
  // element into `root`. Each node is handed over as soon as it is created, so a failed parse
  // leaves behind what it had read. True when the root element was read completely.
  bool ParseDocument(std::unique_ptr<XmlNode>& declaration, std::unique_ptr<XmlNode>& root);

 private:
  bool ParseElement(XmlNode& element, int depth);
  bool ParseStartTag(XmlNode& element, bool& selfClosing);
  bool ParseEndTag(const XmlNode& element);
  bool ParseProcessingInstruction(XmlNode& instruction);
  bool ParseTextRun(XmlNode& text, const XmlToken& first);
  bool ReadIs(XmlToken& token, XmlTokenKind kind, bool slashEndsWord = true);

  XmlErrorRecord& m_error;
  XmlTokenizer m_tokenizer;
  // Set by encoding="utf-8" in an "xml" instruction: element attribute values read after it
  // are converted from UTF-8.
  bool m_convertUtf8 = false;
};
