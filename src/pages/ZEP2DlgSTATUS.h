// Page STATUS: the installation running. Two state lines, a progress bar
// sized beforehand from the work to be done, and the percentage done.
#pragma once

#include "ZEP2PagePattern.h"
#include "platform/QelList.h"

class ZEP2DlgSTATUS;

class ZEP2FrmSTATUS : public QelDlgFrame {
 public:
  ZEP2FrmSTATUS(QelDialog* parent, const QelString& name, unsigned long style);
  void SetPos();

  // Shows the page and sizes the bar from the work the installation will
  // do; listing the status-graph files to import is part of that work.
  // Only the first two flags take part in the computation.
  void SetProgressStatusBarRange(int dbObjects, int startupData, int sampleData, int execInDb);
  // One unit of work done; the percentage is redrawn only when it changes.
  void ProgressStatusBarStepIt();
  // Fills the bar when fewer steps were made than the range foresaw, then
  // leaves the completed bar in view for two seconds.
  void ProgressStatusBarEndStepIt();

  // How the completed bar is left in view; tests replace it so that they
  // need not wait.
  using PauseFunction = void (*)(int seconds);
  static PauseFunction Pause;

  QelDlgLabel* LabelSTATUSStateOne = nullptr;
  QelDlgLabel* LabelSTATUSStateTwo = nullptr;
  QelDlgLabel* LabelSTATUSStateTers = nullptr;
  QelDlgProgress* ProgressSTATUS = nullptr;

 private:
  ZEP2DlgSTATUS* Dialog() const;
  void Repaint() const;
  void ShowAndRepaint() const;
  static int Percentage(int position);
  static void ListStatusGraphFiles(QelListValQelUnicodeString& files);
};

class ZEP2DlgSTATUS : public ZEP2PageDialog {
 public:
  static constexpr unsigned long StatusStyle = 0x44201;
  // A narrow window: 350 divided by 2.3, truncated.
  static constexpr int StatusWidth = static_cast<int>(350 / 2.3);

  ZEP2DlgSTATUS(QelInteractiveApplication* application, const QelString& name);
  void Build();

  QelUnicodeString Welcome;
  QelUnicodeString Abort;
  QelUnicodeString Successfull;
  QelUnicodeString Failed;
  QelUnicodeString DBCONN;
  QelUnicodeString DDLRead;
  QelUnicodeString DDLFileExe;
  QelUnicodeString EnvFiles;
  QelUnicodeString TBSCreation;
  QelUnicodeString USERCreation;
  QelUnicodeString USERGrant;
  QelUnicodeString USERAlter;
  QelUnicodeString ZEPDataManager;
  QelUnicodeString ZEPProject;
  QelUnicodeString ZEPSuppChain;
  QelUnicodeString ZEPRDBEI_PSSG;
  QelUnicodeString ZEPRDBEI_AFSG;
  QelUnicodeString ZEPRDBEI_INTRO;
  QelUnicodeString ERRMSGWndTitleDBCONN;
  QelUnicodeString ERRMSGTextToDisplayForDBCONN;
  QelUnicodeString ERRMSGWndTitleTBSCREATION;
  QelUnicodeString ERRMSGTextToDisplayForTBSCREATION;
  QelUnicodeString ERRMSGWndTitleUSERCREATION;
  QelUnicodeString ERRMSGTextToDisplayForUSERCREATION;
  QelUnicodeString ERRMSGWndTitleUSERGRANT;
  QelUnicodeString ERRMSGTextToDisplayForUSERGRANT;
  QelUnicodeString ERRMSGWndTitleUSERALTER;
  QelUnicodeString ERRMSGTextToDisplayForUSERALTER;
  QelUnicodeString ERRMSGWndTitleEXEDDL;
  QelUnicodeString ERRMSGTextToDisplayForEXEDDL;
  // Follows the percentage in the bottom line; not a catalogue text.
  const QelUnicodeString PercentSuffix{" %"};
  ZEP2FrmSTATUS* Frame = nullptr;
};
