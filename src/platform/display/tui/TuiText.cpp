// Character counting and greedy word wrapping on UTF-8 texts.
#include "TuiText.h"

namespace {

bool IsContinuation(char c) {
  return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// Byte offset of the character at position (the end when past it).
std::size_t ByteOffset(std::string_view text, int position) {
  std::size_t offset = 0;
  for (int count = 0; offset < text.size(); ++offset) {
    if (IsContinuation(text[offset])) continue;
    if (count++ == position) return offset;
  }
  return text.size();
}

void WrapParagraph(std::string_view paragraph, int width, std::vector<std::string>& lines) {
  std::string line;
  int lineWidth = 0;
  std::size_t position = 0;
  while (position < paragraph.size()) {
    const std::size_t blank = paragraph.find(' ', position);
    const std::size_t end = blank == std::string_view::npos ? paragraph.size() : blank;
    std::string_view word = paragraph.substr(position, end - position);
    position = end == paragraph.size() ? end : end + 1;
    int wordWidth = TuiWidth(word);
    if (lineWidth > 0 && lineWidth + 1 + wordWidth > width) {
      lines.push_back(line);
      line.clear();
      lineWidth = 0;
    }
    while (wordWidth > width) {
      // A word wider than the line: fill what is left, then go on below.
      const int room = width - lineWidth - (lineWidth > 0 ? 1 : 0);
      if (lineWidth > 0) line += ' ';
      line += TuiHead(word, room);
      lines.push_back(line);
      line.clear();
      lineWidth = 0;
      word = word.substr(ByteOffset(word, room));
      wordWidth -= room;
    }
    if (lineWidth > 0) {
      line += ' ';
      ++lineWidth;
    }
    line += word;
    lineWidth += wordWidth;
  }
  lines.push_back(line);
}

}  // namespace

int TuiWidth(std::string_view text) {
  int width = 0;
  for (char c : text) width += IsContinuation(c) ? 0 : 1;
  return width;
}

std::string TuiHead(std::string_view text, int width) {
  return std::string(text.substr(0, ByteOffset(text, width < 0 ? 0 : width)));
}

std::string TuiTail(std::string_view text, int position) {
  return std::string(text.substr(ByteOffset(text, position < 0 ? 0 : position)));
}

std::vector<std::string> TuiWrap(std::string_view text, int width) {
  std::vector<std::string> lines;
  if (text.empty() || width <= 0) return lines;
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t end = text.find('\n', start);
    const std::string_view paragraph =
        text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
    WrapParagraph(paragraph, width, lines);
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  return lines;
}

std::string TuiPad(std::string_view text, int width) {
  std::string padded = TuiHead(text, width);
  const int missing = width - TuiWidth(padded);
  if (missing > 0) padded.append(missing, ' ');
  return padded;
}
