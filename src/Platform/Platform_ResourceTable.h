// A table of resources by index (sprites, backgrounds, fonts, objects, paths,
// rooms, time lines). Deleting one leaves an empty slot that is not reused.
// A resource's name is kept beside it in the table, or, for the kinds that
// carry their own (an owned memory-manager text in a `name` member), in the
// item itself. The owner frees the items (FreeAll) while what they hold
// still stands.
#pragma once
#include <cstring>
#include <string>
#include <vector>

#include "Base/RValue.h"
#include "Platform/MemoryManager.h"

enum class ResourceNaming { InTable, InItem };

template <class T, ResourceNaming kNaming = ResourceNaming::InTable>
class CResourceTable {
 public:
  T* Get(int index) const {
    return index >= 0 && size_t(index) < items_.size() ? items_[size_t(index)] : nullptr;
  }
  const char* Name(int index) const {
    const T* item = Get(index);
    if (!item) return "<undefined>";
    if constexpr (kNaming == ResourceNaming::InItem) return item->name ? item->name : "<undefined>";
    else return names_[size_t(index)].c_str();
  }
  int Count() const { return int(items_.size()); }
  // The index of the first resource of that name; -1 when none.
  int FindByName(const char* name) const {
    if (!name) return -1;
    for (size_t i = 0; i < items_.size(); i++) {
      if (!items_[i]) continue;
      if constexpr (kNaming == ResourceNaming::InItem) {
        if (items_[i]->name && std::strcmp(items_[i]->name, name) == 0) return int(i);
      } else if (names_[i] == name) {
        return int(i);
      }
    }
    return -1;
  }
  // Appends an item (null for an empty slot) under that name; an item that
  // carries its own name keeps it when name is null.
  int Append(T* item, const char* name) {
    items_.push_back(item);
    if constexpr (kNaming == ResourceNaming::InItem) {
      if (item && name) {
        MemoryManager::Free(item->name);
        item->name = String_Duplicate(name);
      }
    } else {
      names_.emplace_back(name ? name : "");
    }
    return int(items_.size() - 1);
  }
  bool Delete(int index) {
    T* item = Get(index);
    if (!item) return false;
    delete item;
    items_[size_t(index)] = nullptr;
    return true;
  }
  // Empties the slot and hands its item to the caller (none for an empty
  // slot); the name goes with an item that carries its own.
  T* Release(int index) {
    T* item = Get(index);
    if (item) items_[size_t(index)] = nullptr;
    return item;
  }
  // Takes back the slot just appended (a resource that could not be made).
  void RemoveLast(int index) {
    if (index < 0 || size_t(index) + 1 != items_.size()) return;
    delete items_.back();
    items_.pop_back();
    if constexpr (kNaming == ResourceNaming::InTable) names_.pop_back();
  }
  // A new empty item named prefix followed by its index.
  int Create(const char* prefix) {
    return Append(new T(), (prefix + std::to_string(items_.size())).c_str());
  }
  // A copy of an item in a new slot; -1 when there is none or it fails.
  int Duplicate(int index, const char* prefix) {
    T* src = Get(index);
    if (!src) return -1;
    int copy = Create(prefix);
    if (items_.back()->CopyFrom(*src)) return copy;
    RemoveLast(copy);
    return -1;
  }
  // Copies one item onto another: 1 on success, else 0.
  int Assign(int dest, int src) {
    T* d = Get(dest);
    T* s = Get(src);
    return d && s && d->CopyFrom(*s) ? 1 : 0;
  }
  void FreeAll() {
    for (T* item : items_) delete item;
    items_.clear();
    names_.clear();
  }
  // The slots in index order (empty ones are null).
  typename std::vector<T*>::const_iterator begin() const { return items_.begin(); }
  typename std::vector<T*>::const_iterator end() const { return items_.end(); }

 private:
  std::vector<T*> items_;
  std::vector<std::string> names_;  // ResourceNaming::InTable only
};
