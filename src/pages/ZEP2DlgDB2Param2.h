// Page DB2Param2: the alias of the DB2 database, chosen among those the
// instance has catalogued, and where a local database lives.
#pragma once

#include "ZEP2PagePattern.h"

class ZEP2sqldeinfo;

class ZEP2FrmDB2Param2 : public QelDlgFrame {
 public:
  ZEP2FrmDB2Param2(QelDialog* parent, const QelString& name, unsigned long style);
  void SetPos();

  ZEP2FrameSkeleton Skeleton;
  QelDlgFrame* Frame11221 = nullptr;
  QelDlgFrame* Frame11222 = nullptr;
  QelDlgLabel* LabelDB2Param2One = nullptr;
  QelDlgLabel* LabelDB2Param2Bis = nullptr;
  QelDlgLabel* LabelDB2Param2Ters = nullptr;
  QelDlgLabel* LabelDB2Param2Quatro = nullptr;
  QelDlgLabel* LabelDB2DBAliasName = nullptr;
  QelDlgLabel* LabelDB2DriveDir = nullptr;
  QelDlgCombo* ComboDB2AliasName = nullptr;
  QelDlgEditor* EditorDB2DriveDir = nullptr;

  QelUnicodeString Frame112Title;
  QelUnicodeString LabelDB2Param2OneTitle;
  QelUnicodeString LabelDB2Param2BisTitle;
  QelUnicodeString LabelDB2Param2TersTitle;
  QelUnicodeString LabelDB2Param2QuatroTitle;
  QelUnicodeString LabelDB2DBAliasNameTitle;
  // LabelDB2DriveDir shows one or the other, as the chosen database is
  // local or remote.
  QelUnicodeString LabelDB2DriveDirLocalTitle;
  QelUnicodeString LabelDB2DriveDirRemoteTitle;
};

class ZEP2DlgDB2Param2 : public ZEP2PageDialog {
 public:
  ZEP2DlgDB2Param2(QelInteractiveApplication* application, const QelString& name);
  void Build();

  static void ComboDB2DBAliasNameSelectNotification(QelCommand*, QelNotification*, void*);
  // The first entry of the database directory catalogued under alias, or
  // null when the directory scan did not list it.
  static const ZEP2sqldeinfo* FindEntry(const QelUnicodeString& alias);

  ZEP2FrmDB2Param2* Frame = nullptr;

 protected:
  void CallBacksManager() override;
};
