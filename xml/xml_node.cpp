#include "xml/xml_document.h"
#include "xml/xml_number.h"

namespace {
const std::string kEmpty;
}  // namespace

std::string XmlNode::GetName() const {
  return m_kind == XmlNodeKind::Text ? std::string() : m_name;
}

const std::string& XmlNode::Text() const {
  return m_kind == XmlNodeKind::Text ? m_name : kEmpty;
}

const XmlNode* XmlNode::Child(size_t index) const {
  return index < m_children.Size() ? &m_children[index] : nullptr;
}

const XmlAttributeMap::Value* XmlNode::FindElementAttribute(const char* name) const {
  if (m_kind != XmlNodeKind::Element || !name) return nullptr;
  return m_attributes.Find(name);
}

bool XmlNode::GetAttribute(const char* name, std::string& out) const {
  const XmlAttributeMap::Value* value = FindElementAttribute(name);
  if (!value) return false;
  if (value->has_value()) out = **value;
  return true;
}

bool XmlNode::GetAttributeInt(const char* name, int& out) const {
  const XmlAttributeMap::Value* value = FindElementAttribute(name);
  if (!value || !value->has_value()) return false;
  out = ParseIntLikeAtoi(**value);
  return true;
}

bool XmlNode::GetAttributeUInt(const char* name, unsigned& out) const {
  const XmlAttributeMap::Value* value = FindElementAttribute(name);
  if (!value || !value->has_value()) return false;
  ScanUnsignedLikeScanf(**value, out);  // nothing scanned leaves `out` as it was
  return true;
}

std::string XmlNode::GetAttributeOr(const char* name, const char* defaultValue) const {
  if (m_kind != XmlNodeKind::Element) return std::string();
  const XmlAttributeMap::Value* value = FindElementAttribute(name);
  if (value && value->has_value()) return **value;
  return defaultValue ? std::string(defaultValue) : std::string();
}
