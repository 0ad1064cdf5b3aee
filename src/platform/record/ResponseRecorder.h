// Record mode: listens to a person's input in the widget model and keeps the
// record file, shared by the run's processes, up to date after every input.
#pragma once

#include <cstddef>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "../QelInputListener.h"
#include "ResponseRecord.h"

class QelResponseRecorder : public QelInputListener {
 public:
  // Records into path. Without statePath the run starts here: the file is
  // (re)written at once and this recorder owns a new state file, which it
  // removes when it goes. With statePath the run's first process started
  // it: this one goes on from its state. Null with the reason in error when
  // the record file cannot be written.
  static std::unique_ptr<QelResponseRecorder> Open(const std::string& path,
                                                   const std::string& statePath,
                                                   std::string& error);
  // Use Open: it checks the record can be written and sets the state up.
  QelResponseRecorder(const std::string& path, const std::string& statePath, bool ownsState);
  ~QelResponseRecorder() override;

  const std::string& StatePath() const { return statePath_; }

  void WidgetSet(QelDlgObject* widget) override;
  void ButtonPressed(QelDlgDialog* page, const char* button) override;
  void BoxAnswered(QelDlgNotify* notice, int value) override;

 private:
  // What replays the widget's value: an editor's text, a combo's line (by
  // its number when its text would not find it), a toggle's state; a
  // password's placeholder. Empty when nothing can replay it.
  bool ValueOf(QelDlgObject* widget, std::string& value);
  std::string PasswordPlaceholder(const std::string& widget, const std::string& password);
  // Takes in what the run's other processes recorded since.
  void Reload();
  // Writes the state and the record; when either cannot be written, says so
  // once and records no more.
  void Save();

  std::string path_;
  std::string statePath_;
  bool ownsState_;
  bool failed_ = false;
  ResponseRecord record_;
  // Fingerprints of the passwords typed into each widget in this process,
  // with the number of the variable each is replayed from.
  std::map<std::string, std::vector<std::pair<std::size_t, int>>> typed_;
};

// Sets record mode up for this process: -record FILE on the command line
// starts a run's record (and exports it, with its state, to the son);
// otherwise TESSARDBSETUP_RECORD_FILE continues one. 0 when recording or
// not asked to; -1 with the reason in error.
int QelStartRecording(int count, char* const* vector, std::string& error);
// The same for the running application's command line; a record that
// cannot be kept is said on stderr and ends the run with status 2.
int QelStartRecording();
