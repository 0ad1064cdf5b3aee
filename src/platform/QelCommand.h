// Commands: the named objects that own callbacks and idle subscriptions.
#pragma once

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

 private:
  QelCommand* father_;
  QelString name_;
};
