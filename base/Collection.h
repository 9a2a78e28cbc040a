// An ordered collection that owns its items. An item is created in its collection (appended at
// the end) and destroyed by it; positions stay contiguous from 0.
#pragma once

#include "base/Error.h"

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

namespace base {

class TCollectionItem {
 public:
  TCollectionItem() = default;
  TCollectionItem(const TCollectionItem&) = delete;
  TCollectionItem& operator=(const TCollectionItem&) = delete;
  virtual ~TCollectionItem() = default;
};

template <typename Item>
class TOwnedCollection {
 public:
  TOwnedCollection() = default;
  TOwnedCollection(const TOwnedCollection&) = delete;
  TOwnedCollection& operator=(const TOwnedCollection&) = delete;
  virtual ~TOwnedCollection() = default;

  int Count() const { return static_cast<int>(items_.size()); }

  Item& Items(int index) const { return *items_[CheckedIndex(index)]; }

  Item& Add() { return *items_.emplace_back(std::make_unique<Item>()); }
  void Delete(int index) { items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(CheckedIndex(index))); }
  void Clear() { items_.clear(); }

 private:
  size_t CheckedIndex(int index) const {
    if (index < 0 || index >= Count()) throw Error("index out of range: " + std::to_string(index));
    return static_cast<size_t>(index);
  }

  std::vector<std::unique_ptr<Item>> items_;
};

}  // namespace base
