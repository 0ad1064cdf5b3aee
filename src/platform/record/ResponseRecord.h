// A run's input kept as a response file: the answers of every page press and
// box, written so that a silent run with the file replays the same run.
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

// One press of a page's button with the widgets a person set before it.
struct RecordedPress {
  std::string page;
  std::vector<std::pair<std::string, std::string>> widgets;
  std::string button;
  // Which process answered and which of its visits of the page: two presses
  // of one visit mean the first was refused (the page stayed).
  long process = 0;
  int visit = 0;
};

class ResponseRecord {
 public:
  // A widget set on a page whose button is not pressed yet. A widget set
  // again takes its new value and its new place, so the last of several
  // clicks of radio buttons is the one that holds on replay.
  void SetWidget(const std::string& page, const std::string& widget, const std::string& value);
  void ForgetWidget(const std::string& page, const std::string& widget);
  // The page's pending widgets and the button become its next answer.
  void Press(const std::string& page, const std::string& button, long process, int visit);
  // A box of the class was answered ("OK", "Cancel", "Yes" or "No").
  void Answer(const std::string& boxClass, const std::string& answer);

  // How many different passwords were typed into the widget so far: the
  // n-th is replayed from a variable of its own.
  int SecretCount(const std::string& widget) const;
  void SetSecretCount(const std::string& widget, int count);
  static std::string SecretVariable(const std::string& widget, int number);

  const std::vector<RecordedPress>& Presses() const { return presses_; }

  // The response file.
  std::string Text() const;
  // What another process of the run needs to go on recording: presses, box
  // answers and password counts (never pending widgets). Restore replaces
  // those and keeps this process's pending widgets; false for a state it
  // cannot read, which leaves the record as it was.
  std::string State() const;
  bool Restore(const std::string& state);

  // A typed text as an answer: a "${" in it is replayed as typed, not as a
  // variable.
  static std::string Literal(const std::string& text);
  // A value as written after "name = ", quoted when the reader would
  // otherwise cut or change it.
  static std::string Quote(const std::string& value);

 private:
  std::string OptionsText() const;
  std::string PagesText() const;
  std::string BoxesText() const;

  std::map<std::string, std::vector<std::pair<std::string, std::string>>> pending_;
  std::vector<RecordedPress> presses_;
  std::vector<std::pair<std::string, std::string>> answers_;
  std::map<std::string, int> secrets_;
};
