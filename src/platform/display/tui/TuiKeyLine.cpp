// Parts are joined by two blanks; the button part goes first when room is
// short, because the captions show their underlined letters anyway.
#include "TuiKeyLine.h"

#include <vector>

#include "TuiText.h"

namespace {

std::vector<std::string> FocusParts(TuiFocusKind focus, bool replaces) {
  switch (focus) {
    case TuiFocusKind::Field:
      if (replaces) return {"Tab: move", "Typing replaces the refused text", "Enter: next field"};
      return {"Tab: move", "Enter: next field"};
    case TuiFocusKind::TypingName:
      return {"Tab: move", "Enter: take the name", "F4: list"};
    case TuiFocusKind::EntryCombo:
      return {"Tab: move", "Space: list, or type a name", "Enter: confirm"};
    case TuiFocusKind::List:
      return {"Tab: move", "Enter: confirm", "Space: open the list"};
    case TuiFocusKind::Toggle:
      return {"Tab: move", "Space: check", "Enter: confirm"};
    case TuiFocusKind::TextView:
      return {"Tab: move", "Up/Down/PgUp/PgDn: scroll"};
    case TuiFocusKind::Button:
      return {"Tab: move", "Enter: press"};
  }
  return {};
}

std::string Joined(const std::vector<std::string>& parts) {
  std::string line;
  for (const std::string& part : parts) line += (line.empty() ? "" : "  ") + part;
  return line;
}

}  // namespace

std::string TuiKeyLine(const TuiKeyLineFacts& facts, int width) {
  std::vector<std::string> optional = FocusParts(facts.focus, facts.replaces);
  const std::string first = optional.front();
  optional.erase(optional.begin());
  optional.push_back(facts.letterKeys ? "letter: button" : "Alt+letter: button");
  std::vector<std::string> tail;
  if (facts.help) tail.emplace_back("F1: help");
  if (facts.canClose) tail.emplace_back(facts.closeAsks ? "Esc: close (asks)" : "Esc: close");
  auto line = [&] {
    std::vector<std::string> parts{first};
    parts.insert(parts.end(), optional.begin(), optional.end());
    parts.insert(parts.end(), tail.begin(), tail.end());
    return Joined(parts);
  };
  // The button part is last in the list and goes first.
  while (!optional.empty() && TuiWidth(line()) > width) optional.pop_back();
  return TuiHead(line(), width);
}
