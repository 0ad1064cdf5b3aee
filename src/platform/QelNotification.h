// Notifications: what a widget sends when something happens to it, and the
// handlers commands attached to it with AddAnalyseNotificationCB.
#pragma once

#include <vector>

class QelCommand;
class QelDlgObject;
class QelNotification;

using QelNotificationHandler = void (*)(QelCommand* command, QelNotification* notification,
                                        void* data);

class QelNotification {
 public:
  explicit QelNotification(QelDlgObject* source) : source_(source) {}
  QelNotification(const QelNotification&) = delete;
  QelNotification& operator=(const QelNotification&) = delete;

  QelDlgObject* GetSource() const { return source_; }
  bool HasHandlers() const { return !handlers_.empty(); }

  void Add(QelCommand* command, QelNotificationHandler handler, void* data) {
    handlers_.push_back({command, handler, data});
  }

  // Calls the handlers in the order they were added. A handler may add
  // handlers; they are called from the next notification on.
  void Send() {
    const std::vector<Handler> current = handlers_;
    for (const Handler& h : current) h.function(h.command, this, h.data);
  }

 private:
  struct Handler {
    QelCommand* command;
    QelNotificationHandler function;
    void* data;
  };
  QelDlgObject* source_;
  std::vector<Handler> handlers_;
};
