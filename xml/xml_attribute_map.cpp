#include "xml/xml_attribute_map.h"

uint32_t XmlAttributeMap::Hash(const std::string& name) {
  uint32_t hash = 0;
  for (char byte : name) {
    hash = hash * 33u + static_cast<uint32_t>(static_cast<int32_t>(static_cast<signed char>(byte)));
  }
  return hash;
}

XmlAttributeMap::Entry* XmlAttributeMap::FindEntry(const std::string& name, uint32_t hash) const {
  if (!m_buckets) return nullptr;
  for (Entry* entry = (*m_buckets)[hash % kBucketCount]; entry; entry = entry->next) {
    if (entry->hash == hash && entry->name == name) return entry;
  }
  return nullptr;
}

const XmlAttributeMap::Value* XmlAttributeMap::Find(const std::string& name) const {
  Entry* entry = FindEntry(name, Hash(name));
  return entry ? &entry->value : nullptr;
}

void XmlAttributeMap::Insert(std::string name, Value value) {
  if (!m_buckets) {
    m_buckets = std::make_unique<std::array<Entry*, kBucketCount>>();
    m_buckets->fill(nullptr);
  }
  uint32_t hash = Hash(name);
  Entry*& head = (*m_buckets)[hash % kBucketCount];
  head = &m_entries.Append(std::move(name), std::move(value), hash, head);
}

void XmlAttributeMap::Set(std::string name, Value value) {
  if (Entry* entry = FindEntry(name, Hash(name))) {
    entry->value = std::move(value);
    return;
  }
  Insert(std::move(name), std::move(value));
}
