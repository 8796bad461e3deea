#include "xml/xml_document.h"

#include <new>

#include "xml/xml_parser.h"

XmlDocument::XmlDocument() = default;
XmlDocument::~XmlDocument() = default;

void XmlDocument::Reset() {
  m_root.reset();
  m_declaration.reset();
  m_input.clear();
  m_error.Reset();
}

bool XmlDocument::Parse(const char* text) {
  Reset();
  try {
    m_input = text ? text : "";
    XmlParser parser(m_input.c_str(), m_error);
    return parser.ParseDocument(m_declaration, m_root);
  } catch (const std::bad_alloc&) {
    return false;  // out of memory counts as a failed parse, like a copy that cannot be made
  }
}
