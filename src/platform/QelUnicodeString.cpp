// Text operations whose exact behaviour callers depend on (upper-casing of
// account names, stripping of path separators).
#include "QelUnicodeString.h"

int QelUnicodeString::Compare(const QelUnicodeString& other) const {
  const int order = text_.compare(other.text_);
  if (order == 0) return 2;
  return order < 0 ? 1 : 3;
}

QelUnicodeString QelUnicodeString::ToUpper() const {
  std::string upper = text_;
  for (char& c : upper) c = QelAsciiUpper(c);
  return upper;
}

QelUnicodeString QelUnicodeString::Strip(StripMode mode, char character) const {
  std::size_t begin = 0;
  std::size_t end = text_.size();
  if (mode & Leading) {
    while (begin < end && text_[begin] == character) ++begin;
  }
  if (mode & Trailing) {
    while (end > begin && text_[end - 1] == character) --end;
  }
  return text_.substr(begin, end - begin);
}
