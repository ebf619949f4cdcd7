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
  void FreeAll() {
    for (T* item : items_) delete item;
    items_.clear();
    names_.clear();
  }

 private:
  std::vector<T*> items_;
  std::vector<std::string> names_;
};
