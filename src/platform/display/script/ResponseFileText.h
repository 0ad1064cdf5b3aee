// How the response-file checks write what they quote: names made safe for a
// terminal, and the known name a misspelt one most likely meant.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// Names and words quoted in an error go to a terminal: control bytes and
// megabyte-long lines must not reach it as they are. Values are never quoted,
// as a widget's value may be a password.
std::string Shown(std::string_view text);

// The candidate closest to name, ignoring case, when it is at most two
// edits away (a swapped, missing, extra or wrong letter or two); else empty.
std::string Nearest(std::string_view name, const std::vector<std::string>& candidates);

// The names, separated by ", ".
std::string Joined(const std::vector<std::string>& names);
