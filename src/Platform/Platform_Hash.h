// Hash table of 32-bit keys: a power-of-two bucket array indexed by
// key & mask; each bucket is a doubly linked chain with new nodes appended at
// its tail, so a find gives the first node inserted with that key. The table
// does not own the values.
#pragma once
#include <cstdint>

#include "Platform/MemoryManager.h"

template <class T>
class Hash {
 public:
  struct Node {
    Node* prev;
    Node* next;
    uint32_t key;
    T* value;
  };
  struct Bucket {
    Node* first;
    Node* last;
  };

  // size is rounded up to a power of two (at least 1).
  explicit Hash(uint32_t size) {
    uint32_t buckets = 1;
    while (buckets < size && buckets < (1u << 30)) buckets <<= 1;
    m_Buckets = static_cast<Bucket*>(MEM_ALLOC_CLEAR(sizeof(Bucket) * buckets));
    m_Mask = m_Buckets ? buckets - 1 : 0;
  }
  ~Hash() {
    Clear();
    MEM_FREE(m_Buckets);
  }
  Hash(const Hash&) = delete;
  Hash& operator=(const Hash&) = delete;

  uint32_t GetMask() const { return m_Mask; }
  int GetCount() const { return m_Count; }
  Bucket* GetBuckets() const { return m_Buckets; }

  // Appends a node at the tail of the key's bucket; none when out of memory.
  Node* Insert(uint32_t key, T* value) {
    if (!m_Buckets) return nullptr;
    auto* node = static_cast<Node*>(MEM_ALLOC(sizeof(Node)));
    if (!node) return nullptr;
    Bucket& b = m_Buckets[key & m_Mask];
    node->prev = b.last;
    node->next = nullptr;
    node->key = key;
    node->value = value;
    if (b.last) b.last->next = node;
    else b.first = node;
    b.last = node;
    ++m_Count;
    return node;
  }

  Node* FindNode(uint32_t key) const {
    if (!m_Buckets) return nullptr;
    for (Node* n = m_Buckets[key & m_Mask].first; n; n = n->next)
      if (n->key == key) return n;
    return nullptr;
  }
  T* Find(uint32_t key) const {
    Node* n = FindNode(key);
    return n ? n->value : nullptr;
  }

  // Unlinks and frees a node of this table; gives its value.
  T* RemoveNode(Node* node) {
    Bucket& b = m_Buckets[node->key & m_Mask];
    if (node->prev) node->prev->next = node->next;
    else b.first = node->next;
    if (node->next) node->next->prev = node->prev;
    else b.last = node->prev;
    T* value = node->value;
    MEM_FREE(node);
    --m_Count;
    return value;
  }
  // Removes the first node with the key; gives its value, none when absent.
  T* Remove(uint32_t key) {
    Node* n = FindNode(key);
    return n ? RemoveNode(n) : nullptr;
  }

  // Frees every node (not the values).
  void Clear() {
    if (!m_Buckets) return;
    for (uint32_t i = 0; i <= m_Mask; ++i) {
      for (Node* n = m_Buckets[i].first; n;) {
        Node* next = n->next;
        MEM_FREE(n);
        n = next;
      }
      m_Buckets[i] = Bucket{nullptr, nullptr};
    }
    m_Count = 0;
  }

  // Walking in bucket order, then chain order: First() then Next(node).
  Node* First() const { return FirstFrom(0); }
  Node* Next(const Node* node) const { return node->next ? node->next : FirstFrom((node->key & m_Mask) + 1); }

 private:
  Node* FirstFrom(uint64_t bucket) const {
    if (!m_Buckets) return nullptr;
    for (; bucket <= m_Mask; ++bucket)
      if (m_Buckets[bucket].first) return m_Buckets[bucket].first;
    return nullptr;
  }

  Bucket* m_Buckets = nullptr;
  uint32_t m_Mask = 0;
  int m_Count = 0;
};
