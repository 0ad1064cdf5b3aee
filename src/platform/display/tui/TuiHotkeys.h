// Hotkeys of a row of buttons: one letter per caption, shown underlined in
// the caption and pressed with Alt+letter (or the letter alone where typing
// does not go into a field). A caption gets its first letter unless a button
// before it in the row took it, so Back, Next, Cancel, Help, OK, Yes and No
// carry the same letter on every page and in every box.
#pragma once

#include <string>
#include <vector>

// For each caption, the character position of its hotkey letter, or -1 when
// no letter of it is left.
std::vector<int> TuiHotkeyPositions(const std::vector<std::string>& captions);

// The button whose hotkey is the typed character (any letter case), or -1.
int TuiHotkeyButton(const std::vector<std::string>& captions, const std::string& typed);
