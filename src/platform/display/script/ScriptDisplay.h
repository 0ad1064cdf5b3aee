// The response-file front end: drives the widget model as a person would,
// from the answers of a response file, and records a transcript.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>

#include "../../QelDisplay.h"
#include "ResponseFile.h"

class QelDialog;
class QelDlgDialog;

class QelScriptDisplay : public QelDisplay {
 public:
  explicit QelScriptDisplay(std::unique_ptr<ResponseFile> answers);
  ~QelScriptDisplay() override;

  void DialogShown(QelDialog* dialog) override;
  int DisplayBlocked(QelDlgNotify* notice) override;
  bool HasPendingInput() override;
  void ProcessInput() override;
  // Nothing pending and nothing running: a shown page that still offers a
  // Cancel has stalled (a step that stopped the chain), and is cancelled.
  bool BeforeWaiting() override;
  void ApplicationEnding(int status, const std::string& outcome) override;

 private:
  struct Refusal {
    std::string title;
    std::string text;
  };

  QelDlgDialog* PendingPage();
  QelDlgNotify* PendingNotice() const;
  const PageAnswers* AnswersFor(const std::string& page) const;
  std::string ButtonFor(const std::string& page) const;
  bool CanPress(QelDlgDialog* page, const std::string& button) const;
  void AnswerPage(QelDlgDialog* page);
  // Takes the notice's next answer from the file and records it.
  int Answer(QelDlgNotify* notice);
  void AnswerNotice(QelDlgNotify* notice);
  // Sets one widget as a person would; false with the reason when the page
  // has no such widget or a person could not give that answer.
  bool SetWidget(QelDlgDialog* page, const std::string& name, const std::string& value,
                 std::string& reason);
  void Press(QelDlgDialog* page, const std::string& button);
  void AfterPress(QelDlgDialog* page, int visitBefore, const std::string& button);
  void Fail(const std::string& message);
  // The answer counts shared by the run's processes.
  void LoadState();
  void SaveState() const;

  std::unique_ptr<ResponseFile> answers_;
  std::map<const QelDialog*, int> answeredVisit_;
  // Presses per page, and boxes per class under "@<class>", of the whole run.
  std::map<std::string, int> presses_;
  std::string statePath_;
  bool ownsState_ = false;
  std::map<std::string, int> stays_;
  std::map<const QelDialog*, bool> retry_;
  bool pressing_ = false;
  bool textRefused_ = false;
  std::optional<Refusal> refusal_;
};
