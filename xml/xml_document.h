// The document model of the launcher's XML parameter: a lenient reader of one element with
// attributes, text, comments and processing instructions, which can convert UTF-8 attribute
// values to the ANSI code page when the text declares encoding="utf-8". The launcher's main
// routine owns one document for the length of a request. Portable; one thread at a time.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include "common/pooled_list.h"
#include "xml/xml_attribute_map.h"
#include "xml/xml_error.h"

enum class XmlNodeKind { Element = 0, Text = 1, ProcessingInstruction = 2 };

class XmlNode {
 public:
  explicit XmlNode(XmlNodeKind kind) : m_kind(kind) {}
  XmlNode(XmlNode&&) = default;
  XmlNode& operator=(XmlNode&&) = default;
  XmlNode(const XmlNode&) = delete;
  XmlNode& operator=(const XmlNode&) = delete;

  XmlNodeKind Kind() const { return m_kind; }
  // The element name or instruction target; "" for a text node.
  std::string GetName() const;
  // The assembled text of a text node; "" for other nodes.
  const std::string& Text() const;
  // The raw body of a "Script" processing instruction; "" otherwise.
  const std::string& RawText() const { return m_rawText; }
  size_t ChildCount() const { return m_children.Size(); }
  // Null when `index` is out of range.
  const XmlNode* Child(size_t index) const;

  // The attribute getters answer for elements only (false, or "", for other nodes). Names
  // are case-sensitive. An attribute left without a value by a failed UTF-8 conversion is
  // present for GetAttribute (which then leaves `out` untouched) and absent for the others.
  bool GetAttribute(const char* name, std::string& out) const;
  // The value read like atoi: leading whitespace, an optional sign, decimal digits up to the
  // first other byte; no digits give 0. Out-of-range values are clamped to the int range.
  bool GetAttributeInt(const char* name, int& out) const;
  // The value read like "%u": a leading "-" wraps modulo 2^32 ("-1" gives 4294967295), as do
  // digits beyond the range. True whenever the attribute exists; `out` is untouched when the
  // value holds no number.
  bool GetAttributeUInt(const char* name, unsigned& out) const;
  std::string GetAttributeOr(const char* name, const char* defaultValue) const;

 private:
  friend class XmlParser;

  const XmlAttributeMap::Value* FindElementAttribute(const char* name) const;

  XmlNodeKind m_kind;
  std::string m_name;  // for a text node: its text
  XmlAttributeMap m_attributes;
  PooledList<XmlNode> m_children;
  std::string m_rawText;
};

class XmlDocument {
 public:
  XmlDocument();
  virtual ~XmlDocument();
  XmlDocument(const XmlDocument&) = delete;
  XmlDocument& operator=(const XmlDocument&) = delete;

  // Discards any earlier tree, then parses a copy of `text` (null counts as ""). True when
  // the root element was read completely; after false the tree must not be relied on.
  bool Parse(const char* text);
  // Null until a parse has reached the root element.
  XmlNode* Root() { return m_root.get(); }
  const XmlNode* Root() const { return m_root.get(); }
  // The leading processing instruction (such as <?xml version="1.0"?>), or null.
  const XmlNode* Declaration() const { return m_declaration.get(); }
  // The last error recorded by Parse (kXmlNoError when none) and its detail text.
  int ErrorCode() const { return m_error.code; }
  const std::string& ErrorDetail() const { return m_error.detail; }

 private:
  void Reset();

  std::string m_input;  // the document's own copy of the parsed text
  std::unique_ptr<XmlNode> m_declaration;
  std::unique_ptr<XmlNode> m_root;
  XmlErrorRecord m_error;
};
