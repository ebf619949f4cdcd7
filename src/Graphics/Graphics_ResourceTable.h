// A table of resources by index with a parallel name list. Deleting one
// leaves an empty slot that is not reused. The owner frees the items
// (FreeAll) while the device still stands.
#pragma once
#include <string>
#include <vector>

template <class T>
class CResourceTable {
 public:
  T* Get(int index) const {
    return index >= 0 && size_t(index) < items_.size() ? items_[size_t(index)] : nullptr;
  }
  const char* Name(int index) const { return Get(index) ? names_[size_t(index)].c_str() : "<undefined>"; }
  int Count() const { return int(items_.size()); }
  int Append(T* item, const char* name) {
    items_.push_back(item);
    names_.emplace_back(name ? name : "");
    return int(items_.size() - 1);
  }
  bool Delete(int index) {
    T* item = Get(index);
    if (!item) return false;
    delete item;
    items_[size_t(index)] = nullptr;
    return true;
  }
  // Takes back the slot just appended (a resource that could not be made).
  void RemoveLast(int index) {
    if (index < 0 || size_t(index) + 1 != items_.size()) return;
    delete items_.back();
    items_.pop_back();
    names_.pop_back();
  }
  // A new empty item named prefix followed by its index.
  int Create(const char* prefix) {
    int index = Append(new T(), "");
    names_.back() = prefix + std::to_string(index);
    return index;
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

 private:
  std::vector<T*> items_;
  std::vector<std::string> names_;
};
