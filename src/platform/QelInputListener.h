// The listener told of every input a person gives the widget model, called
// where that input enters the model, so it hears it whichever front end runs.
#pragma once

#include <memory>

class QelDlgObject;
class QelDlgDialog;
class QelDlgNotify;

class QelInputListener {
 public:
  virtual ~QelInputListener() = default;

  // A person set a widget (an editor's committed text, a combo's chosen line,
  // a check or radio button's click); the widget already holds the new value
  // and its handlers have not run yet.
  virtual void WidgetSet(QelDlgObject* widget) = 0;
  // A person pressed a page's button ("Back", "Cancel", "Next") or asked to
  // close it ("Close"), before the page's handlers run.
  virtual void ButtonPressed(QelDlgDialog* page, const char* button) = 0;
  // A person answered a box: 1 OK, 2 Cancel, 3 Yes, 4 No.
  virtual void BoxAnswered(QelDlgNotify* notice, int value) = 0;
};

QelInputListener* QelGetInputListener();
// Replaces the listener; null removes it.
void QelSetInputListener(std::unique_ptr<QelInputListener> listener);
