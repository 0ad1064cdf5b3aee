// The framework's 1-based lists: texts by value, objects by owning pointer.
#pragma once

#include <cassert>
#include <memory>
#include <vector>

#include "QelUnicodeString.h"

class QelListValQelUnicodeString {
 public:
  int Size() const { return static_cast<int>(items_.size()); }
  void Append(const QelUnicodeString& item) { items_.push_back(item); }
  void Clear() { items_.clear(); }
  // Position is 1-based, as everywhere the lists are walked by counters.
  const QelUnicodeString& operator()(int position) const {
    assert(position >= 1 && position <= Size());
    return items_[position - 1];
  }
  QelUnicodeString& operator()(int position) {
    assert(position >= 1 && position <= Size());
    return items_[position - 1];
  }
  auto begin() const { return items_.begin(); }
  auto end() const { return items_.end(); }

 private:
  std::vector<QelUnicodeString> items_;
};

// Owns its elements: clearing the list or destroying it deletes them.
template <class Element>
class QelListPtr {
 public:
  int Size() const { return static_cast<int>(items_.size()); }
  Element* Append(std::unique_ptr<Element> item) {
    items_.push_back(std::move(item));
    return items_.back().get();
  }
  void Clear() { items_.clear(); }
  Element* operator()(int position) const {
    assert(position >= 1 && position <= Size());
    return items_[position - 1].get();
  }

 private:
  std::vector<std::unique_ptr<Element>> items_;
};
