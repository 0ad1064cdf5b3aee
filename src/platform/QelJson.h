// JSON strings for everything the program writes as JSON (the transcript,
// the sandbox's reports).
#pragma once

#include <string>
#include <string_view>

// text as a JSON string, quotes included: '"' and '\\' escaped, line
// breaks, tabs and carriage returns as \n, \t, \r, other control
// characters as \u00XX; well-formed UTF-8 as it is, and each byte of a
// malformed sequence (overlong, surrogate, beyond U+10FFFF, cut short) as
// U+FFFD, so the result is valid JSON whatever text holds.
std::string QelJsonString(std::string_view text);
