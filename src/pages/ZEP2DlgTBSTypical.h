// Page TBSTypical: name and data-file directory of the tablespace to create,
// with the space it needs and the space free in that directory.
#pragma once

#include "ZEP2PagePattern.h"

// Verify filter of the name and directory editors: no blank, line feed or
// carriage return.
int InputCheckFrameTBSTypical(const QelUnicodeString& text, void* frame);
// Input filters: 1 without client data, else 0; the checks are left to Next.
int InputVerifTBSTypicalName(const QelUnicodeString& text, void* frame);
int InputVerifTBSTypicalDir(const QelUnicodeString& text, void* frame);

class ZEP2FrmTBSTypical : public QelDlgFrame {
 public:
  ZEP2FrmTBSTypical(QelDialog* parent, const QelString& name, unsigned long style);
  void SetPos();

  // LabelTBSTypicalSpaceBis := the free kilobytes of the directory's file
  // system and the unit text, or the unknown-space text and why.
  void ShowAvailableSpace(const QelUnicodeString& directory);

  ZEP2FrameSkeleton Skeleton;
  QelDlgFrame* Frame11221 = nullptr;
  QelDlgFrame* Frame11222 = nullptr;
  QelDlgLabel* LabelTBSTypicalOne = nullptr;
  QelDlgLabel* LabelTBSTypicalBis = nullptr;
  QelDlgLabel* LabelTBSTypicalTers = nullptr;
  QelDlgLabel* LabelTBSTypicalQuatro = nullptr;
  QelDlgLabel* LabelTBSTypicalName = nullptr;
  QelDlgLabel* LabelTBSTypicalBLOBName = nullptr;
  QelDlgLabel* LabelTBSTypicalSpaceNeedOne = nullptr;
  QelDlgLabel* LabelTBSTypicalSpaceNeedBis = nullptr;
  QelDlgLabel* LabelTBSTypicalSpaceOne = nullptr;
  QelDlgLabel* LabelTBSTypicalSpaceBis = nullptr;
  QelDlgLabel* LabelTBSTypicalDir = nullptr;
  QelDlgEditor* EditorTBSTypicalName = nullptr;
  QelDlgEditor* EditorTBSTypicalBLOBName = nullptr;
  QelDlgEditor* EditorTBSTypicalDir = nullptr;

  QelUnicodeString Frame112Title;
  QelUnicodeString LabelTBSTypicalOneTitle;
  QelUnicodeString LabelTBSTypicalBisTitle;
  QelUnicodeString LabelTBSTypicalTersTitle;
  QelUnicodeString LabelTBSTypicalQuatroTitle;
  QelUnicodeString LabelTBSTypicalNameTitle;
  QelUnicodeString LabelTBSTypicalDirTitle;
  // The unit after a number of kilobytes, and the text for an unknown size.
  QelUnicodeString LabelTBSTypicalSpace_koTitle;
  QelUnicodeString LabelTBSTypicalSpace_undefinedTitle;
  // Why the size is unknown (%1 the directory): no part of its path exists,
  // or its file system cannot be queried.
  QelUnicodeString LabelTBSTypicalSpace_missingTitle;
  QelUnicodeString LabelTBSTypicalSpace_unqueriedTitle;
};

class ZEP2DlgTBSTypical : public ZEP2PageDialog {
 public:
  ZEP2DlgTBSTypical(QelInteractiveApplication* application, const QelString& name);
  void Build();

  // Kilobytes free for a non-privileged user on the file system holding
  // path, measured on its nearest existing parent when the path does not
  // exist yet; -1 when no part of it exists, -2 when the file system cannot
  // be queried.
  static int GetAvailableSize(QelUnicodeString path);

  static void EditorTBSTypicalNameSelect(QelCommand*, QelNotification*, void*);
  static void EditorTBSTypicalBLOBNameSelect(QelCommand*, QelNotification*, void*);
  // Client data: the dialog.
  static void EditorTBSTypicalDirMod(QelCommand*, QelNotification*, void* data);

  QelUnicodeString ERRMSGTextToDisplayForTBSTYPIName;
  QelUnicodeString ERRMSGTextToDisplayForTBSTYPIBLOBName;
  QelUnicodeString ERRMSGTextToDisplayForTBSTYPINameW;
  QelUnicodeString ERRMSGTextToDisplayForTBSTYPIBLOBNameW;
  QelUnicodeString ERRMSGTextToDisplayForTBSDATAFILE;
  QelUnicodeString ERRMSGTextToDisplayForWRONG_TBSDATAFILE;
  QelUnicodeString ERRMSGTextToDisplayForSPACE_TBSDATAFILE;
  ZEP2FrmTBSTypical* Frame = nullptr;

 protected:
  void CallBacksManager() override;
};
