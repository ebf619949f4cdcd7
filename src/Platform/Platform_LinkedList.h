// Doubly linked list with first, last and count. It does not own the objects
// it links; nodes are memory-manager blocks.
#pragma once
#include "Platform/MemoryManager.h"

template <class T>
class SLinkedList {
 public:
  struct Node {
    Node* prev;
    Node* next;
    T* obj;
  };

  SLinkedList() = default;
  ~SLinkedList() { Clear(); }
  SLinkedList(const SLinkedList&) = delete;
  SLinkedList& operator=(const SLinkedList&) = delete;

  Node* GetFirst() const { return m_First; }
  Node* GetLast() const { return m_Last; }
  int GetCount() const { return m_Count; }

  // Links the object at the end (or in front); none when out of memory.
  Node* Add(T* obj) { return Link(obj, m_Last, nullptr); }
  Node* AddFront(T* obj) { return Link(obj, nullptr, m_First); }

  Node* Find(const T* obj) const {
    for (Node* n = m_First; n; n = n->next)
      if (n->obj == obj) return n;
    return nullptr;
  }
  // Unlinks a node of this list and frees it.
  void RemoveNode(Node* node) {
    if (node->prev) node->prev->next = node->next;
    else m_First = node->next;
    if (node->next) node->next->prev = node->prev;
    else m_Last = node->prev;
    MEM_FREE(node);
    --m_Count;
  }
  // Unlinks the first node holding the object; false when it is not linked.
  bool Remove(const T* obj) {
    Node* n = Find(obj);
    if (n) RemoveNode(n);
    return n != nullptr;
  }
  void Clear() {
    while (m_First) RemoveNode(m_First);
  }

 private:
  Node* Link(T* obj, Node* prev, Node* next) {
    auto* n = static_cast<Node*>(MEM_ALLOC(sizeof(Node)));
    if (!n) return nullptr;
    n->prev = prev;
    n->next = next;
    n->obj = obj;
    if (prev) prev->next = n;
    else m_First = n;
    if (next) next->prev = n;
    else m_Last = n;
    ++m_Count;
    return n;
  }

  Node* m_First = nullptr;
  Node* m_Last = nullptr;
  int m_Count = 0;
};
