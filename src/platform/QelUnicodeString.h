// Text type of the framework: UTF-8 bytes with the comparison convention the
// whole program relies on (Compare gives 2 for equal texts).
#pragma once

#include <string>
#include <string_view>

// ASCII letters only: multi-byte UTF-8 sequences must stay intact, and the
// names upper-cased (accounts, schemas, keywords) are ASCII anyway.
inline char QelAsciiUpper(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

class QelUnicodeString {
 public:
  enum StripMode { Leading = 1, Trailing = 2, Both = 3 };

  QelUnicodeString() = default;
  QelUnicodeString(const char* text) : text_(text ? text : "") {}
  QelUnicodeString(std::string text) : text_(std::move(text)) {}
  QelUnicodeString(std::string_view text) : text_(text) {}

  static QelUnicodeString FromInt(long long value) { return std::to_string(value); }

  // 1 when this text sorts before the other, 2 when equal, 3 when after.
  int Compare(const QelUnicodeString& other) const;

  const char* c_str() const { return text_.c_str(); }
  const std::string& str() const { return text_; }
  std::size_t Length() const { return text_.size(); }

  QelUnicodeString ToUpper() const;
  QelUnicodeString Strip(StripMode mode, char character) const;

  QelUnicodeString& operator+=(const QelUnicodeString& other) {
    text_ += other.text_;
    return *this;
  }
  friend QelUnicodeString operator+(QelUnicodeString left, const QelUnicodeString& right) {
    left += right;
    return left;
  }
  friend QelUnicodeString operator+(const char* left, const QelUnicodeString& right) {
    return QelUnicodeString(left) + right;
  }
  friend bool operator==(const QelUnicodeString& left, const QelUnicodeString& right) {
    return left.Compare(right) == 2;
  }

 private:
  std::string text_;
};

// Identifiers (command and widget names) share the text type.
using QelString = QelUnicodeString;
