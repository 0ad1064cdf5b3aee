// The cut of a UTF-8 text on a character boundary.
#include "QelUtf8Cut.h"

namespace {

bool IsContinuation(unsigned char byte) {
  return (byte & 0xC0) == 0x80;
}

// The bytes of the sequence a lead byte starts; 1 for anything else.
std::size_t SequenceLength(unsigned char lead) {
  return lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
}

}  // namespace

std::size_t QelUtf8CutLength(std::string_view text, std::size_t limit) {
  if (text.size() <= limit) return text.size();
  // The byte at the cut is the first one left out: a continuation byte there
  // may belong to a character that starts before the cut.
  std::size_t start = limit;
  for (int step = 0; step < 3 && start > 0 && IsContinuation(text[start]); ++step) --start;
  if (start == limit) return limit;
  return start + SequenceLength(text[start]) <= limit ? limit : start;
}
