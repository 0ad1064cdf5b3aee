// Commands: the named objects that own callbacks and idle subscriptions.
#pragma once

#include "QelNotification.h"
#include "QelUnicodeString.h"

class QelCommand {
 public:
  QelCommand(QelCommand* father, const QelString& name) : father_(father), name_(name) {}
  QelCommand(const QelCommand&) = delete;
  QelCommand& operator=(const QelCommand&) = delete;
  virtual ~QelCommand() = default;

  void SetFather(QelCommand* father) { father_ = father; }
  QelCommand* GetFather() const { return father_; }
  const QelString& GetCommandName() const { return name_; }

  // Has handler(this, notification, data) called each time the widget
  // sends the notification.
  void AddAnalyseNotificationCB(QelNotification* notification, QelNotificationHandler handler,
                                void* data) {
    notification->Add(this, handler, data);
  }

 private:
  QelCommand* father_;
  QelString name_;
};
