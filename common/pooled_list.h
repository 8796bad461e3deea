// The append-only list the XML and INI parsers keep their nodes, attributes, sections and
// entries in. Entries are allocated in blocks of a fixed number of entries and never move,
// so a reference to an entry stays valid until the list is cleared; appending is amortised
// constant time however long the list grows. Portable; one thread at a time.
#pragma once

#include <cstddef>
#include <memory>
#include <utility>
#include <vector>

template <typename T, size_t BlockSize = 10>
class PooledList {
  static_assert(BlockSize > 0, "a block holds at least one entry");

 public:
  PooledList() = default;
  PooledList(PooledList&&) noexcept = default;
  PooledList& operator=(PooledList&&) noexcept = default;
  PooledList(const PooledList&) = delete;
  PooledList& operator=(const PooledList&) = delete;

  template <typename... Args>
  T& Append(Args&&... args) {
    if (m_count % BlockSize == 0) {
      auto block = std::make_unique<std::vector<T>>();
      // The block is filled up to this capacity and never beyond, so it never reallocates.
      block->reserve(BlockSize);
      m_blocks.push_back(std::move(block));
    }
    std::vector<T>& block = *m_blocks.back();
    block.emplace_back(std::forward<Args>(args)...);
    ++m_count;
    return block.back();
  }

  size_t Size() const { return m_count; }
  bool Empty() const { return m_count == 0; }
  T& operator[](size_t index) { return (*m_blocks[index / BlockSize])[index % BlockSize]; }
  const T& operator[](size_t index) const {
    return (*m_blocks[index / BlockSize])[index % BlockSize];
  }
  T& Back() { return (*this)[m_count - 1]; }

  void Clear() {
    m_blocks.clear();
    m_count = 0;
  }

  template <typename List, typename Value>
  class Iterator {
   public:
    Iterator(List* list, size_t index) : m_list(list), m_index(index) {}
    Value& operator*() const { return (*m_list)[m_index]; }
    Value* operator->() const { return &(*m_list)[m_index]; }
    Iterator& operator++() {
      ++m_index;
      return *this;
    }
    bool operator==(const Iterator& other) const { return m_index == other.m_index; }
    bool operator!=(const Iterator& other) const { return m_index != other.m_index; }

   private:
    List* m_list;
    size_t m_index;
  };
  using iterator = Iterator<PooledList, T>;
  using const_iterator = Iterator<const PooledList, const T>;

  iterator begin() { return iterator(this, 0); }
  iterator end() { return iterator(this, m_count); }
  const_iterator begin() const { return const_iterator(this, 0); }
  const_iterator end() const { return const_iterator(this, m_count); }

 private:
  std::vector<std::unique_ptr<std::vector<T>>> m_blocks;
  size_t m_count = 0;
};
