// The words and escapes of response files, shared by their reader (the
// script front end) and their writer (the recorder): a word only one side
// knew would make a recorded run replay otherwise.
#pragma once

#include <array>
#include <string_view>

#include "QelEscape.h"

class QelDlgNotify;

namespace QelResponseWords {

// A page's buttons (button = ...), also how a page names the one pressed.
inline constexpr char Next[] = "Next";
inline constexpr char Back[] = "Back";
inline constexpr char Cancel[] = "Cancel";
inline constexpr char Close[] = "Close";
inline constexpr std::array<std::string_view, 4> Buttons = {Next, Back, Cancel, Close};

// A box's answers (answers = ...).
inline constexpr char OK[] = "OK";
inline constexpr char Yes[] = "Yes";
inline constexpr char No[] = "No";
inline constexpr std::array<std::string_view, 4> Answers = {OK, Cancel, Yes, No};
// The answer that gives a box's value (QelDlgNotify::YesValue, ...).
const char* AnswerOf(const QelDlgNotify& notice, int value);

// A check button's two states; a radio button is only ever set Checked.
inline constexpr char Checked[] = "checked";
inline constexpr char Unchecked[] = "unchecked";

// A quoted value ("..."): its quote, line breaks and tabs after a backslash.
inline constexpr QelEscape QuotedEscapes[] = {{'"', '"'}, {'\n', 'n'}, {'\t', 't'}};

}  // namespace QelResponseWords
