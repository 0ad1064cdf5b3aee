// What Close and Cancel do on every page. The handlers are shared: the page
// comes from the notification, and the client data names the handler for
// the trace and says whether the page holds the administrator connection.
#include "app/ZEP2InstHQ.h"
#include "pages/ZEP2MessageBoxes.h"
#include "pages/ZEP2PagePattern.h"
#include "platform/QelLog.h"

void ZEP2InstHQ::CB_Close(QelCommand*, QelNotification*, void* data) {
  const auto* handlers = static_cast<const PageHandlers*>(data);
  WriteTraceLogFile(std::string("\nCB_") + handlers->page + "_Close CLOSE", 1);
  EndRun(2);
}

void ZEP2InstHQ::CB_Cancel(QelCommand* command, QelNotification* notification, void* data) {
  const auto* handlers = static_cast<const PageHandlers*>(data);
  WriteTraceLogFile(std::string("\nCB_") + handlers->page + "_Cancel CANCEL", 1);
  auto* controller = static_cast<ZEP2InstHQ*>(command);
  if (controller->ConfirmCancel(static_cast<ZEP2PageDialog*>(notification->GetSource())) != 1) {
    return;
  }
  if (!QelApplication::MainApplication()) return;
  if (handlers->holdsAdministratorConnection) controller->ReleaseDBAConnection();
  EndRun(2);
}

int ZEP2InstHQ::ConfirmCancel(ZEP2PageDialog* page) {
  _CancelInCallBack = std::make_unique<ZEP2CancelInCallBack>(
      this, page, page->CANCELWndTitle, page->CANCELTextToDisplayForCANCEL, "",
      page->CANCELYESBUTTON, page->CANCELNOBUTTON);
  const int answer = _CancelInCallBack->Build();
  _CancelInCallBack.reset();
  return answer;
}

void ZEP2InstHQ::ReleaseDBAConnection() {
  // Cursor first: it refers to its connection.
  if (_nvDBACursor) _nvDBACursor->Close();
  _nvDBACursor.reset();
  if (_nvDBAConnection) _nvDBAConnection->Close();
  _nvDBAConnection.reset();
}
