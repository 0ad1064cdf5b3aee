// The application object and its event loop: idle subscriptions, signals
// delivered through a self-pipe, descriptors of the front end.
#pragma once

#include <chrono>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "QelCommand.h"

using QelIdleFunction = void (*)(QelCommand* command, int priority, void* data);

class QelApplication : public QelCommand {
 public:
  QelApplication(QelCommand* father, const QelString& name);
  ~QelApplication() override;

  // The first application constructed, or null.
  static QelApplication* MainApplication();

  // One subscription per (priority, command): a second Subscribe replaces the
  // function and data of the first. Safe to call from inside an idle call.
  void Subscribe(int priority, QelCommand* command, void* data, QelIdleFunction function);
  void RemoveSubscribe(int priority, QelCommand* command);
  bool IsSubscribed(int priority, const QelCommand* command) const;
  // Some idle work is subscribed.
  bool HasIdleWork() const;

  // Ends the loop after the current callback returns.
  void Destroy() { destroyed_ = true; }
  // Ends the run with this exit status, whatever EndApplication would give
  // (a front end that cannot go on: a refused answer in a silent run).
  void Abort(int status, const std::string& outcome);
  // The run's outcome in words, for the front end to report at the end.
  void SetOutcome(const std::string& outcome) { outcome_ = outcome; }
  const std::string& GetOutcome() const { return outcome_; }
  bool IsDestroyed() const { return destroyed_; }

  // Descriptors whose readiness wakes the loop (terminal input, child events).
  void WatchDescriptor(int descriptor, std::function<void()> onReadable);
  void UnwatchDescriptor(int descriptor);

  // A shown window keeps the loop alive while no idle work is subscribed;
  // with neither, nothing can happen any more and the run ends.
  void SetWindowShown(const void* window, bool shown);
  // Something outside the process (a child it waits for) keeps the loop
  // alive, waiting for signals, while no window is shown.
  void SetAwaited(const void* what, bool awaited) { SetWindowShown(what, awaited); }

  virtual void BeginApplication() {}
  virtual int EndApplication() { return 0; }
  // Called last, once the front end has given the terminal back.
  virtual void ReportEnd(int /*exitStatus*/) {}

  // Start-up, loop and end of the process: BeginApplication, the loop until
  // Destroy or until nothing is left to do, EndApplication (the exit code).
  int Run(int argc, char** argv);

  // One pass of the loop: signals and descriptors (waiting for them only when
  // no idle work is subscribed), then every subscription once. False when the
  // loop is over.
  bool RunOnce();

 protected:
  int argumentCount_ = 0;
  char** argumentVector_ = nullptr;

 private:
  struct Subscription {
    int priority;
    QelCommand* command;
    void* data;
    QelIdleFunction function;
    bool active;
  };
  struct Watch {
    int descriptor;
    std::function<void()> onReadable;
  };

  void DispatchEvents(bool block);
  void RunIdleRound();
  Subscription* Find(int priority, const QelCommand* command);

  std::vector<Subscription> subscriptions_;
  std::vector<Watch> watches_;
  std::chrono::steady_clock::time_point lastLook_{};
  std::set<const void*> shownWindows_;
  bool destroyed_ = false;
  int abortStatus_ = -1;
  std::string outcome_;
};

class QelInteractiveApplication : public QelApplication {
 public:
  using QelApplication::QelApplication;

  void GetArgs(int& count, char**& vector) const {
    count = argumentCount_;
    vector = argumentVector_;
  }
  // Draws what changed now, not only when the loop next waits.
  void UpdateDisplay();
  void SetBusyCursor();
};

// The value after the last occurrence of option in the command line, with the
// program's rules: the value is examined as an option too, an option that is
// the last argument or followed by a null entry is ignored. Null when absent.
const char* QelFindOptionValue(int count, char* const* vector, const char* option);
