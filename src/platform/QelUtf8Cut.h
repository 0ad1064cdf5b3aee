// Where a UTF-8 text may be cut to fit a fixed buffer: every message and
// statement buffer of the program is cut by this one rule.
#pragma once

#include <cstddef>
#include <string_view>

// The length of the longest prefix of text that is at most limit bytes and
// does not end inside a UTF-8 sequence. The walk back stops after three
// continuation bytes (the most a character has); bytes that belong to no
// sequence are kept as they come.
std::size_t QelUtf8CutLength(std::string_view text, std::size_t limit);
