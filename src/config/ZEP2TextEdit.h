// Edits of configuration texts that keep every byte outside the edited
// value or line: property values, whole script lines, the Orbix port.
#pragma once

#include <string>

namespace zep2text {

// Replaces the value after the first occurrence of key (which includes its
// " = ") up to the newline that ends its line. False, text unchanged, when
// the key is absent or its line has no newline.
bool ReplaceProperty(std::string& text, const std::string& key, const std::string& value);

// Replaces the line holding the first occurrence of key by newLine (its
// newline stays). The line starts after the last newline in the 20
// characters before the key, or at the start of the text when the key lies
// within its first 20 characters. False, text unchanged, when the key is
// absent, its line start is further away or its line has no newline.
bool ReplaceScriptLine(std::string& text, const std::string& key, const std::string& newLine);

// The daemon port of an Orbix configuration: the number after the first
// IT_DAEMON_PORT on its line, when from 1000 to 99999; -1 otherwise.
int OrbixPort(const std::string& configuration);

}  // namespace zep2text
