// Hotkeys are ASCII letters and digits only: a terminal sends Alt with an
// accented letter in too many different ways to rely on it.
#include "TuiHotkeys.h"

#include <cctype>

namespace {

char Folded(unsigned char character) {
  return static_cast<char>(std::tolower(character));
}

bool Eligible(unsigned char character) {
  return character < 128 && std::isalnum(character);
}

// Character positions of the eligible letters of a caption, the first
// letter of each word before the others.
std::vector<std::pair<int, char>> Candidates(const std::string& caption) {
  std::vector<std::pair<int, char>> starts;
  std::vector<std::pair<int, char>> others;
  int position = 0;
  bool wordStart = true;
  for (const char byte : caption) {
    const auto character = static_cast<unsigned char>(byte);
    // Continuation bytes of UTF-8 belong to the character before them.
    if ((character & 0xC0) == 0x80) continue;
    if (Eligible(character))
      (wordStart ? starts : others).emplace_back(position, Folded(character));
    wordStart = character == ' ';
    ++position;
  }
  starts.insert(starts.end(), others.begin(), others.end());
  return starts;
}

}  // namespace

std::vector<int> TuiHotkeyPositions(const std::vector<std::string>& captions) {
  std::vector<int> positions;
  std::string taken;
  for (const std::string& caption : captions) {
    int chosen = -1;
    for (const auto& [position, letter] : Candidates(caption)) {
      if (taken.find(letter) != std::string::npos) continue;
      chosen = position;
      taken += letter;
      break;
    }
    positions.push_back(chosen);
  }
  return positions;
}

int TuiHotkeyButton(const std::vector<std::string>& captions, const std::string& typed) {
  if (typed.size() != 1 || !Eligible(static_cast<unsigned char>(typed[0]))) return -1;
  const char wanted = Folded(static_cast<unsigned char>(typed[0]));
  const std::vector<int> positions = TuiHotkeyPositions(captions);
  for (std::size_t button = 0; button < captions.size(); ++button) {
    for (const auto& [position, letter] : Candidates(captions[button])) {
      if (position == positions[button] && letter == wanted) return static_cast<int>(button);
    }
  }
  return -1;
}
