// Backslash escapes for the line-based files the program writes and reads
// (settings, undo journal, record state, response-file values, catalogues):
// one routine, each file with its own table of escapes.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

// A character that cannot stand as itself in a file, and the letter that
// follows the backslash in its place ('\n' as 'n'; '"' as '"').
struct QelEscape {
  char plain;
  char letter;
};
using QelEscapes = std::span<const QelEscape>;

// Appends text with a backslash doubled and each escape's character written
// as backslash and letter; the rest as it is.
void QelAppendEscaped(std::string& out, std::string_view text, QelEscapes escapes);
std::string QelEscaped(std::string_view text, QelEscapes escapes);

// How a backslash followed by a character no escape names reads.
enum class QelUnknownEscape {
  Itself,  // as that character (what older files may hold)
  Refused  // as an error: the reader stops there
};

// Reads text from position up to the first stopAt not after a backslash
// (or the end; stopAt -1 stops only at the end), position then on it. A
// backslash followed by an escape's letter reads as its character, by
// another backslash as one; a backslash that ends the text stays. With
// Refused, false when another character follows a backslash, position then
// on that character.
bool QelUnescape(std::string_view text, std::size_t& position, QelEscapes escapes,
                 std::string& plain, int stopAt = -1,
                 QelUnknownEscape unknown = QelUnknownEscape::Itself);
// All of text, unknown escapes read as their character.
std::string QelUnescaped(std::string_view text, QelEscapes escapes);
