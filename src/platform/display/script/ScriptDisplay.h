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

  // The first page shown means every page is built: the whole file is
  // checked against them then, and a mistake ends the run before any page
  // is answered.
  void DialogShown(QelDialog* dialog) override;
  int DisplayBlocked(QelDlgNotify* notice) override;
  // A page whose answer is a Cancel after some statements is watched while
  // the installation runs; every other page waits until nothing runs.
  bool HasPendingInput() override;
  void ProcessInput() override;
  // Nothing pending and nothing running: a shown page that still offers a
  // Cancel has stalled (a step that stopped the chain), and is cancelled.
  bool BeforeWaiting() override;
  void StatementPlayed() override { ++played_; }
  void ApplicationEnding(int status, const std::string& outcome) override;

 private:
  struct Refusal {
    std::string title;
    std::string text;
  };
  enum class Setting { Set, Refused, Impossible };

  // Shown, and its visit not answered yet (or to be answered again).
  bool Unanswered(QelDlgDialog* page);
  QelDlgDialog* PendingPage();
  QelDlgDialog* PageToCancel();
  QelDlgDialog* PageOfferingCancel() const;
  QelDlgNotify* PendingNotice() const;
  const PageAnswers* AnswersFor(const std::string& page) const;
  bool CanPress(QelDlgDialog* page, const std::string& button) const;
  // Counts the page's answer (shared with the other processes of the run)
  // and returns its section.
  const PageAnswers* BeginAnswer(QelDlgDialog* page);
  // The page's answers of this visit, "Widget = 'value'" (passwords ***):
  // what was refused, when the box says nothing.
  std::string DescribeAnswers(QelDlgDialog* page) const;
  void AnswerPage(QelDlgDialog* page);
  void CancelAfterStatements(QelDlgDialog* page);
  // Takes the notice's next answer from the file and records it.
  int Answer(QelDlgNotify* notice);
  void AnswerNotice(QelDlgNotify* notice);
  // Sets one widget as a person would; otherwise says why: the widget
  // refused the value, or a person could not have given it at all.
  Setting SetWidget(QelDlgDialog* page, const std::string& name, const std::string& value,
                    std::string& reason);
  void RefusedText(QelDlgDialog* page, const std::string& message);
  // The button to press cannot be pressed: the run ends through a shown
  // page's Cancel, this page's first (an installation running is rolled
  // back), else at once.
  void CannotPress(QelDlgDialog* page, const std::string& message);
  void Press(QelDlgDialog* page, const std::string& button);
  void Push(QelDlgDialog* page, const std::string& button);
  void AfterPress(QelDlgDialog* page, int visitBefore, const std::string& button);
  // Another press that left the page where it was; false once the run ends.
  bool Stayed(const std::string& page);
  void Report(const std::string& message);
  void Fail(const std::string& message);
  // The answer counts shared by the run's processes.
  void LoadState();
  void SaveState();

  std::unique_ptr<ResponseFile> answers_;
  // Whether any page cancels after some statements: asked between every two.
  bool cancelsAfterStatements_ = false;
  std::map<const QelDialog*, int> answeredVisit_;
  // Presses per page, and boxes per class under "@<class>", of the whole run.
  std::map<std::string, int> presses_;
  std::string statePath_;
  bool ownsState_ = false;
  // A count that could not be saved is told once: the run's other
  // processes may then take a page's first answers for its later ones.
  bool stateLost_ = false;
  std::map<std::string, int> stays_;
  std::map<const QelDialog*, bool> retry_;
  // The visit of a page on which Cancel was pressed to end the run.
  std::map<const QelDialog*, int> cancelledVisit_;
  // Statements played in this process, and how many had been when a page
  // was shown.
  long played_ = 0;
  std::map<const QelDialog*, long> playedAtShow_;
  bool checked_ = false;
  bool stopped_ = false;
  bool pressing_ = false;
  std::optional<Refusal> refusal_;
};
