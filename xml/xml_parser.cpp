#include "xml/xml_parser.h"

#include <utility>

#include "common/text.h"
#include "xml/xml_entities.h"
#include "xml/xml_utf8.h"

namespace {

// How a non-word token reads inside a text run.
const char* PunctuationText(XmlTokenKind kind) {
  switch (kind) {
    case XmlTokenKind::Slash:
      return "/";
    case XmlTokenKind::Equals:
      return "=";
    case XmlTokenKind::Question:
      return "?";
    case XmlTokenKind::DoubleDash:
      return "--";
    default:
      return "";
  }
}

}  // namespace

XmlParser::XmlParser(const char* input, XmlErrorRecord& error)
    : m_error(error), m_tokenizer(input, error) {}

// A read that fails counts as a token of the wrong kind: the caller then records its own
// error over the tokenizer's.
bool XmlParser::ReadIs(XmlToken& token, XmlTokenKind kind, bool slashEndsWord) {
  return m_tokenizer.NextToken(token, slashEndsWord) && token.kind == kind;
}

bool XmlParser::ParseDocument(std::unique_ptr<XmlNode>& declaration,
                              std::unique_ptr<XmlNode>& root) {
  XmlToken token;
  size_t start = m_tokenizer.Position();
  if (!ReadIs(token, XmlTokenKind::TagOpen, false)) return false;
  if (!m_tokenizer.NextToken(token)) return false;
  if (token.kind == XmlTokenKind::Question) {
    declaration = std::make_unique<XmlNode>(XmlNodeKind::ProcessingInstruction);
    // A broken declaration leaves its error recorded but does not stop the document.
    ParseProcessingInstruction(*declaration);
  } else {
    m_tokenizer.Restore(start);
  }
  root = std::make_unique<XmlNode>(XmlNodeKind::Element);
  return ParseElement(*root, 1);
}

bool XmlParser::ParseElement(XmlNode& element, int depth) {
  XmlToken token;
  if (!m_tokenizer.NextToken(token)) return false;
  if (token.kind != XmlTokenKind::TagOpen) {
    m_error.Record(kXmlMissingTagOpen);
    return false;
  }
  bool selfClosing = false;
  if (!ParseStartTag(element, selfClosing)) return false;
  if (selfClosing) return true;

  for (;;) {
    size_t turnStart = m_tokenizer.Position();
    if (!m_tokenizer.NextToken(token, true)) return false;
    if (token.kind == XmlTokenKind::TagClose) {
      m_error.Record(kXmlUnexpectedTagClose);
      return false;
    }
    if (token.kind != XmlTokenKind::TagOpen) {
      XmlNode& text = element.m_children.Append(XmlNodeKind::Text);
      if (!ParseTextRun(text, token)) return false;
      continue;
    }

    if (!m_tokenizer.NextToken(token, false)) return false;
    switch (token.kind) {
      case XmlTokenKind::Question: {
        XmlNode& instruction = element.m_children.Append(XmlNodeKind::ProcessingInstruction);
        ParseProcessingInstruction(instruction);  // its failure does not end the element
        break;
      }
      case XmlTokenKind::Word: {
        if (depth >= kXmlMaxElementDepth) {
          m_error.Record(kXmlTooDeep);
          return false;
        }
        XmlNode& child = element.m_children.Append(XmlNodeKind::Element);
        m_tokenizer.Restore(turnStart);
        if (!ParseElement(child, depth + 1)) return false;
        break;
      }
      case XmlTokenKind::Slash:
        return ParseEndTag(element);
      default:
        break;  // a stray "<" is passed over
    }
  }
}

// After "</": the name must be this element's, and ">" should follow.
bool XmlParser::ParseEndTag(const XmlNode& element) {
  XmlToken token;
  if (!m_tokenizer.NextToken(token)) return false;
  const std::string& closingName = token.kind == XmlTokenKind::Word ? token.text : std::string();
  if (closingName != element.m_name) {
    m_error.Record(kXmlTagMismatch, "%s,%s", element.m_name.c_str(), closingName.c_str());
    return false;
  }
  if (!m_tokenizer.NextToken(token)) return false;
  // The element still counts as complete; only the error is noted.
  if (token.kind != XmlTokenKind::TagClose) m_error.Record(kXmlEndTagNotClosed);
  return true;
}

bool XmlParser::ParseStartTag(XmlNode& element, bool& selfClosing) {
  if (m_tokenizer.AtEnd()) return false;
  m_tokenizer.SkipWhitespace();
  XmlToken token;
  if (!m_tokenizer.NextToken(token)) return false;
  if (token.kind != XmlTokenKind::Word) {
    m_error.Record(kXmlBadTagName);
    return false;
  }
  element.m_name = std::move(token.text);

  for (;;) {
    if (!m_tokenizer.NextToken(token, false)) return false;
    switch (token.kind) {
      case XmlTokenKind::TagClose:
        selfClosing = false;
        return true;
      case XmlTokenKind::Slash:
        if (!ReadIs(token, XmlTokenKind::TagClose)) {
          m_error.Record(kXmlBadEmptyTag);
          return false;
        }
        selfClosing = true;
        return true;
      case XmlTokenKind::Word: {
        std::string name = std::move(token.text);
        if (!ReadIs(token, XmlTokenKind::Equals)) {
          m_error.Record(kXmlBadAttribute);
          return false;
        }
        if (!ReadIs(token, XmlTokenKind::Word)) {
          m_error.Record(kXmlBadAttributeValue, "%s", name.c_str());
          return false;
        }
        if (element.m_attributes.Contains(name)) {
          m_error.Record(kXmlDuplicateAttribute, "%s", name.c_str());
          return false;
        }
        XmlAttributeMap::Value value;
        if (m_convertUtf8 && HasHighByte(token.text)) {
          value = Utf8ToCodePage(token.text);
        } else {
          value = std::move(token.text);
        }
        element.m_attributes.Insert(std::move(name), std::move(value));
        break;
      }
      default:
        break;  // stray "<", "=", "?" and "--" are passed over
    }
  }
}

bool XmlParser::ParseProcessingInstruction(XmlNode& instruction) {
  XmlToken token;
  if (!m_tokenizer.NextToken(token)) return false;
  if (token.kind != XmlTokenKind::Word) {
    m_error.Record(kXmlBadInstructionName);
    return false;
  }
  instruction.m_name = std::move(token.text);
  if (instruction.m_name == "Script") {
    if (!m_tokenizer.ReadUntilInstructionEnd(instruction.m_rawText)) {
      m_error.Record(kXmlInstructionNotClosed);
      return false;
    }
    return true;
  }

  bool isXmlDeclaration = instruction.m_name == "xml";
  for (;;) {
    if (!m_tokenizer.NextToken(token, false)) return false;
    if (token.kind == XmlTokenKind::Question) {
      if (!ReadIs(token, XmlTokenKind::TagClose)) {
        m_error.Record(kXmlInstructionNotClosed);
        return false;
      }
      return true;
    }
    if (token.kind != XmlTokenKind::Word) {
      m_error.Record(kXmlBadInstructionToken);
      return false;
    }
    std::string name = std::move(token.text);
    size_t afterName = m_tokenizer.Position();
    if (!ReadIs(token, XmlTokenKind::Equals)) {
      // A pseudo-attribute without "=" stands alone with an empty value.
      instruction.m_attributes.Set(std::move(name), std::string());
      m_tokenizer.Restore(afterName);
      continue;
    }
    if (!ReadIs(token, XmlTokenKind::Word)) {
      m_error.Record(kXmlBadInstructionToken);
      return false;
    }
    if (isXmlDeclaration && name == "encoding" && EqualsNoCase(token.text, "utf-8")) {
      m_convertUtf8 = true;
    }
    instruction.m_attributes.Set(std::move(name), std::move(token.text));
  }
}

bool XmlParser::ParseTextRun(XmlNode& text, const XmlToken& first) {
  std::string& assembled = text.m_name;
  assembled = first.kind == XmlTokenKind::Word ? first.text : PunctuationText(first.kind);
  XmlToken token;
  for (;;) {
    size_t beforeToken = m_tokenizer.Position();
    if (!m_tokenizer.NextToken(token, false)) return false;
    if (token.kind == XmlTokenKind::TagOpen || token.kind == XmlTokenKind::TagClose) {
      m_tokenizer.Restore(beforeToken);
      break;
    }
    // Whitespace survives only as one space before a word.
    if (token.kind == XmlTokenKind::Word) {
      assembled += ' ';
      assembled += token.text;
    } else {
      assembled += PunctuationText(token.kind);
    }
  }
  ReplaceTextEntities(assembled);
  return true;
}
