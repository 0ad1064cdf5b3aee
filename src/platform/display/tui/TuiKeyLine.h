// The key line at the bottom of a page: what the keys do where the focus
// is, with F1 and Esc always said. Pure text, so it is tested without a
// terminal.
#pragma once

#include <string>

enum class TuiFocusKind {
  Field,       // a one-line editor
  TypingName,  // a combo's entry field being typed into
  EntryCombo,  // a combo that also takes a typed name
  List,        // a combo that only offers its lines
  Toggle,      // a check or radio button
  TextView,    // a text that scrolls
  Button,
};

struct TuiKeyLineFacts {
  TuiFocusKind focus = TuiFocusKind::Button;
  bool help = true;         // F1 shows the page's help
  bool canClose = true;     // Esc closes the page
  bool closeAsks = false;   // and asks first: answers would be lost
  bool letterKeys = false;  // a letter alone presses a button here
  bool replaces = false;    // the field holds a refused text that typing replaces
};

// At most width characters. The parts about moving, F1 and Esc stay; the
// others give way, the least needed first, when the line is too long.
std::string TuiKeyLine(const TuiKeyLineFacts& facts, int width);
