// The undo statements of a journal in memory, end to end in one buffer: an
// installation records one for every object it creates, and a heap string
// each would sit among the database's short-lived allocations all run long.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

class ZEP2UndoEntries {
 public:
  bool Empty() const { return ends_.empty(); }
  std::size_t Size() const { return ends_.size(); }
  void Append(std::string_view undo) {
    text_.append(undo);
    ends_.push_back(text_.size());
  }
  std::string Last() const { return std::string(At(ends_.size() - 1)); }
  void RemoveLast() {
    ends_.pop_back();
    text_.resize(ends_.empty() ? 0 : ends_.back());
  }
  // Keeps the first count entries.
  void Truncate(std::size_t count) {
    if (count >= ends_.size()) return;
    ends_.resize(count);
    text_.resize(count == 0 ? 0 : ends_.back());
  }
  void Clear() {
    text_.clear();
    ends_.clear();
  }
  std::vector<std::string> All() const {
    std::vector<std::string> all;
    all.reserve(ends_.size());
    for (std::size_t i = 0; i < ends_.size(); ++i) all.emplace_back(At(i));
    return all;
  }

 private:
  std::string_view At(std::size_t i) const {
    const std::size_t begin = i == 0 ? 0 : ends_[i - 1];
    return std::string_view(text_).substr(begin, ends_[i] - begin);
  }

  std::string text_;
  std::vector<std::size_t> ends_;
};
