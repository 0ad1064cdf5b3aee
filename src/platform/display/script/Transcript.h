// The transcript of a run: one JSON object per line for each event of each
// process (pages shown, widgets set, buttons, boxes, exit), for the tests.
#pragma once

#include <concepts>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

#include "platform/QelUnicodeString.h"

// A field's value, a text or an integer, held in its JSON form: the text is
// escaped when the value is made, so a line is only put together on writing.
class QelTranscriptValue {
 public:
  QelTranscriptValue(const char* text);
  QelTranscriptValue(std::string_view text);
  QelTranscriptValue(const std::string& text) : QelTranscriptValue(std::string_view(text)) {}
  QelTranscriptValue(const QelUnicodeString& text) : QelTranscriptValue(text.str()) {}
  // bool and char would pass for integers by accident, so they do not.
  template <std::integral Number>
  requires(!std::same_as<Number, bool> && !std::same_as<Number, char>)
      QelTranscriptValue(Number number)
      : json_(std::to_string(number)) {}

  const std::string& Json() const { return json_; }

 private:
  std::string json_;
};

class QelTranscript {
 public:
  // Appends {"pid":<pid>,"event":"<event>",<fields in order>} and a line
  // feed to the file named by $TESSARDBSETUP_TRANSCRIPT, in one write so that
  // the lines of father and son never mix; nothing when the variable is unset
  // or empty. Texts become valid JSON whatever their bytes (invalid UTF-8
  // turns into U+FFFD). The caller masks passwords: this file is no safer
  // than the log. Not for signal handlers or several threads.
  static void Record(const std::string& event,
                     std::initializer_list<std::pair<const char*, QelTranscriptValue>> fields);
};
