// Text measuring and wrapping for the terminal: widths count characters (UTF-8
// code points), never bytes, so a catalogue text with accents wraps right.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// Characters in a UTF-8 text.
int TuiWidth(std::string_view text);
// The first width characters of text (all of it when shorter).
std::string TuiHead(std::string_view text, int width);
// The text from character position on.
std::string TuiTail(std::string_view text, int position);
// Lines of at most width characters: breaks at line feeds and between words;
// a word longer than a line is cut. An empty text gives no line.
std::vector<std::string> TuiWrap(std::string_view text, int width);
// Text padded with blanks (or cut) to exactly width characters.
std::string TuiPad(std::string_view text, int width);
