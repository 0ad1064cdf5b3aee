// The record file follows the run: each press and answer, whichever process
// and front end took it, is written at once, so an interrupted run still
// leaves a record of what it got through.
#include "ResponseRecorder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <sstream>

#include "../QelApplication.h"
#include "../QelDialog.h"
#include "../QelDlgCombo.h"
#include "../QelDlgEditor.h"
#include "../QelDlgNotify.h"
#include "../QelDlgToggle.h"
#include "../QelLog.h"
#include "../QelResponseWords.h"
#include "../QelSecureFile.h"

namespace {

constexpr const char* kRecordVariable = "TESSARDBSETUP_RECORD_FILE";
constexpr const char* kStateVariable = "TESSARDBSETUP_RECORD_STATE";

std::string Name(const QelDlgObject* object) {
  return object->GetCommandName().str();
}

// The silent run finds a combo's line by its text, the last line of that
// text winning, and reads a text starting with '#' as a line number. A text
// typed into the entry field (no line selected) is replayed as typed.
std::string ComboValue(const QelDlgCombo* combo) {
  const int selected = combo->GetSelectedPosition();
  if (selected < 0 && combo->HasEntryField())
    return ResponseRecord::Literal(combo->GetField().str());
  const std::string text = combo->GetLine(selected).str();
  bool byText = text.empty() || text.front() != '#';
  for (int line = selected + 1; byText && line < combo->GetNbrOfLines(); ++line) {
    byText = combo->GetLine(line).str() != text;
  }
  return byText ? ResponseRecord::Literal(text) : "#" + std::to_string(selected + 1);
}

// Recording over the response file being replayed would wipe its answers
// before they are read.
bool IsSameFile(const std::string& left, const char* right) {
  struct stat first {};
  struct stat second {};
  return right && stat(left.c_str(), &first) == 0 && stat(right, &second) == 0 &&
         first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

std::string Absolute(const std::string& path) {
  if (path.empty() || path.front() == '/') return path;
  std::string directory(4096, '\0');
  if (!getcwd(directory.data(), directory.size())) return path;
  return directory.c_str() + std::string("/") + path;
}

}  // namespace

QelResponseRecorder::QelResponseRecorder(const std::string& path, const std::string& statePath,
                                         bool ownsState)
    : path_(path), statePath_(statePath), ownsState_(ownsState) {}

std::unique_ptr<QelResponseRecorder> QelResponseRecorder::Open(const std::string& path,
                                                               const std::string& statePath,
                                                               std::string& error) {
  if (!statePath.empty()) {
    auto recorder = std::make_unique<QelResponseRecorder>(path, statePath, false);
    recorder->Reload();
    return recorder;
  }
  std::string pattern = "/tmp/tessardbsetup-record.XXXXXX";
  const int descriptor = mkstemp(pattern.data());
  if (descriptor < 0) {
    error = "no state file for the record in /tmp";
    return nullptr;
  }
  close(descriptor);
  auto recorder = std::make_unique<QelResponseRecorder>(path, pattern, true);
  // Written at once: a record that cannot be written is refused before
  // anybody types anything.
  if (QelWriteFileAtomically(path, recorder->record_.Text(), 0600, error) != 0) return nullptr;
  return recorder;
}

QelResponseRecorder::~QelResponseRecorder() {
  if (!ownsState_) return;
  unlink(statePath_.c_str());
  unsetenv(kStateVariable);
}

void QelResponseRecorder::Reload() {
  std::ifstream file(statePath_);
  if (!file) return;
  std::ostringstream state;
  state << file.rdbuf();
  record_.Restore(state.str());
}

void QelResponseRecorder::Save() {
  if (failed_) return;
  std::string error;
  if (QelWriteFileAtomically(statePath_, record_.State(), 0600, error) == 0 &&
      QelWriteFileAtomically(path_, record_.Text(), 0600, error) == 0) {
    return;
  }
  // The installation matters more than its record: it goes on, unrecorded.
  failed_ = true;
  const std::string message = "the record stops: " + error;
  std::fprintf(stderr, "tessardbsetup: %s\n", message.c_str());
  WriteErrLogFile("\n" + message + "\n");
}

std::string QelResponseRecorder::PasswordPlaceholder(const std::string& widget,
                                                     const std::string& password) {
  const std::size_t fingerprint = std::hash<std::string>{}(password);
  auto& typed = typed_[widget];
  for (const auto& [known, number] : typed) {
    if (known == fingerprint) return "${" + ResponseRecord::SecretVariable(widget, number) + "}";
  }
  // A process that has not seen this field yet takes the password it is
  // given first for the one typed last in an earlier process of the run (a
  // new second process after Back asks for it again).
  const int count = record_.SecretCount(widget);
  const int number = typed.empty() && count > 0 ? count : count + 1;
  typed.emplace_back(fingerprint, number);
  if (number > count) record_.SetSecretCount(widget, number);
  return "${" + ResponseRecord::SecretVariable(widget, number) + "}";
}

bool QelResponseRecorder::ValueOf(QelDlgObject* widget, std::string& value) {
  if (auto* editor = dynamic_cast<QelDlgEditor*>(widget)) {
    value = editor->IsPassword() ? PasswordPlaceholder(Name(widget), editor->GetText().str())
                                 : ResponseRecord::Literal(editor->GetText().str());
    return true;
  }
  if (auto* combo = dynamic_cast<QelDlgCombo*>(widget)) {
    value = ComboValue(combo);
    return true;
  }
  if (auto* toggle = dynamic_cast<QelDlgToggle*>(widget)) {
    value = toggle->IsChecked() ? QelResponseWords::Checked : QelResponseWords::Unchecked;
    // A radio button is only ever checked by an answer.
    return toggle->IsChecked() || !dynamic_cast<QelDlgRadioButton*>(toggle);
  }
  return false;
}

void QelResponseRecorder::WidgetSet(QelDlgObject* widget) {
  Reload();
  const std::string page = Name(widget->GetDialog());
  if (std::string value; ValueOf(widget, value)) {
    record_.SetWidget(page, Name(widget), value);
  } else {
    record_.ForgetWidget(page, Name(widget));
  }
  Save();
}

void QelResponseRecorder::ButtonPressed(QelDlgDialog* page, const char* button) {
  Reload();
  record_.Press(Name(page), button, static_cast<long>(getpid()), page->GetVisitCount());
  Save();
}

void QelResponseRecorder::BoxAnswered(QelDlgNotify* notice, int value) {
  Reload();
  record_.Answer(Name(notice), QelResponseWords::AnswerOf(*notice, value));
  Save();
}

int QelStartRecording(int count, char* const* vector, std::string& error) {
  std::string path;
  std::string state;
  if (const char* option = QelFindOptionValue(count, vector, "-record")) {
    path = option;
  } else if (const char* inherited = std::getenv(kRecordVariable); inherited && *inherited) {
    path = inherited;
    const char* inheritedState = std::getenv(kStateVariable);
    // A state nobody keeps any more (a run that ended) is no run to join.
    if (inheritedState && *inheritedState && access(inheritedState, R_OK) == 0) {
      state = inheritedState;
    }
  } else {
    return 0;
  }
  if (path.empty()) {
    error = "-record needs a file name";
    return -1;
  }
  path = Absolute(path);
  const char* answers = QelFindOptionValue(count, vector, "-responsefile");
  if (state.empty() &&
      IsSameFile(path, answers ? answers : std::getenv("TESSARDBSETUP_RESPONSE_FILE"))) {
    error = "cannot record: " + path + " is the response file of this run";
    return -1;
  }
  std::unique_ptr<QelResponseRecorder> recorder = QelResponseRecorder::Open(path, state, error);
  if (!recorder) {
    error = "cannot record: " + error;
    return -1;
  }
  // The son runs from a script elsewhere: it needs the full path.
  setenv(kRecordVariable, path.c_str(), 1);
  setenv(kStateVariable, recorder->StatePath().c_str(), 1);
  QelSetInputListener(std::move(recorder));
  return 0;
}

int QelStartRecording() {
  auto* application = dynamic_cast<QelInteractiveApplication*>(QelApplication::MainApplication());
  int count = 0;
  char** vector = nullptr;
  if (application) application->GetArgs(count, vector);
  std::string error;
  if (QelStartRecording(count, vector, error) == 0) return 0;
  std::fprintf(stderr, "tessardbsetup: %s\n", error.c_str());
  if (application) application->Abort(2, error);
  return -1;
}
