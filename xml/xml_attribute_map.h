// The attributes of one XML node: a chained hash map of 17 buckets from name (compared byte
// for byte) to value. A value may be absent when its conversion from UTF-8 failed. Entries
// come from a pool that grows in blocks of 10 and never move. Portable.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "common/pooled_list.h"

class XmlAttributeMap {
 public:
  using Value = std::optional<std::string>;

  // The value stored under `name`, or null when there is no such attribute.
  const Value* Find(const std::string& name) const;
  bool Contains(const std::string& name) const { return Find(name) != nullptr; }
  // Adds a new attribute; the caller has made sure the name is not there yet.
  void Insert(std::string name, Value value);
  // Replaces the value of an existing attribute, or adds it.
  void Set(std::string name, Value value);
  size_t Size() const { return m_entries.Size(); }

  // h = h * 33 + byte over the name's bytes taken as signed values, unsigned 32-bit.
  static uint32_t Hash(const std::string& name);
  static constexpr size_t kBucketCount = 17;

 private:
  struct Entry {
    Entry(std::string entryName, Value entryValue, uint32_t entryHash, Entry* entryNext)
        : name(std::move(entryName)),
          value(std::move(entryValue)),
          hash(entryHash),
          next(entryNext) {}
    std::string name;
    Value value;
    uint32_t hash;  // kept so that walking a chain compares names only when hashes agree
    Entry* next;
  };

  Entry* FindEntry(const std::string& name, uint32_t hash) const;

  // Allocated on the first insertion; each bucket heads a chain, newest entry first.
  std::unique_ptr<std::array<Entry*, kBucketCount>> m_buckets;
  PooledList<Entry> m_entries;
};
