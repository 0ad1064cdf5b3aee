// Page TBSTypical. Names are upper-cased as typed because both DBMSs keep
// tablespace names in upper case and Next compares them with listed ones.
#include "ZEP2DlgTBSTypical.h"

#include <sys/statvfs.h>

#include <climits>
#include <string>

#include "platform/QelMsgCatalog.h"
#include "platform/QelSystem.h"

int InputCheckFrameTBSTypical(const QelUnicodeString& text, void*) {
  return ZEP2RefuseBlanksAndLineBreaks(text);
}

int InputVerifTBSTypicalName(const QelUnicodeString&, void* frame) {
  return frame ? 0 : 1;
}

int InputVerifTBSTypicalDir(const QelUnicodeString&, void* frame) {
  return frame ? 0 : 1;
}

ZEP2FrmTBSTypical::ZEP2FrmTBSTypical(QelDialog* parent, const QelString& name, unsigned long style)
    : QelDlgFrame(parent, name, style) {
  ZEP2LoadCatalogTexts(
      "ZEP2FrmTBSTypical",
      {{"Frame1.Frame11.Frame112.Title", &Frame112Title},
       {"Frame1.Frame11.Frame112.Frame1121.LabelTBSTypicalOne.Title", &LabelTBSTypicalOneTitle},
       {"Frame1.Frame11.Frame112.Frame1121.LabelTBSTypicalBis.Title", &LabelTBSTypicalBisTitle},
       {"Frame1.Frame11.Frame112.Frame1121.LabelTBSTypicalTers.Title", &LabelTBSTypicalTersTitle},
       {"Frame1.Frame11.Frame112.Frame1121.LabelTBSTypicalQuatro.Title",
        &LabelTBSTypicalQuatroTitle},
       {"Frame1.Frame11.Frame112.Frame1122.Frame11221.LabelTBSTypicalName.Title",
        &LabelTBSTypicalNameTitle},
       {"Frame1.Frame11.Frame112.Frame1122.Frame11222.LabelTBSTypicalDir.Title",
        &LabelTBSTypicalDirTitle},
       {"LabelTBSTypicalSpace_ko.Title", &LabelTBSTypicalSpace_koTitle},
       {"LabelTBSTypicalSpace_undefined.Title", &LabelTBSTypicalSpace_undefinedTitle},
       {"LabelTBSTypicalSpace_missing.Title", &LabelTBSTypicalSpace_missingTitle},
       {"LabelTBSTypicalSpace_unqueried.Title", &LabelTBSTypicalSpace_unqueriedTitle}});

  Skeleton.Build(this, Frame112Title, true);
  LabelTBSTypicalOne =
      ZEP2NewLabel(Skeleton.Frame1121, "LabelTBSTypicalOne", LabelTBSTypicalOneTitle);
  LabelTBSTypicalBis =
      ZEP2NewLabel(Skeleton.Frame1121, "LabelTBSTypicalBis", LabelTBSTypicalBisTitle);
  LabelTBSTypicalTers =
      ZEP2NewLabel(Skeleton.Frame1121, "LabelTBSTypicalTers", LabelTBSTypicalTersTitle);
  LabelTBSTypicalQuatro =
      ZEP2NewLabel(Skeleton.Frame1121, "LabelTBSTypicalQuatro", LabelTBSTypicalQuatroTitle);

  Frame11221 = ZEP2NewFrame(Skeleton.Frame1122, "Frame11221");
  LabelTBSTypicalName = ZEP2NewLabel(Frame11221, "LabelTBSTypicalName", LabelTBSTypicalNameTitle);
  LabelTBSTypicalBLOBName = ZEP2NewLabel(Frame11221, "LabelTBSTypicalBLOBName", "");
  EditorTBSTypicalName = ZEP2NewEditor(Frame11221, "EditorTBSTypicalName", 0, 15);
  EditorTBSTypicalName->SetInputCallback(InputVerifTBSTypicalName, this);
  EditorTBSTypicalName->SetVerifyCallback(InputCheckFrameTBSTypical, this);
  EditorTBSTypicalBLOBName = ZEP2NewEditor(Frame11221, "EditorTBSTypicalBLOBName", 0, 15);
  EditorTBSTypicalBLOBName->SetInputCallback(InputVerifTBSTypicalName, this);
  EditorTBSTypicalBLOBName->SetVerifyCallback(InputCheckFrameTBSTypical, this);
  LabelTBSTypicalSpaceNeedOne =
      ZEP2NewLabel(Frame11221, "LabelTBSTypicalSpaceNeedOne", "   Required  space : ");
  // Neither size is known before a DBMS and a directory are chosen.
  LabelTBSTypicalSpaceNeedBis =
      ZEP2NewLabel(Frame11221, "LabelTBSTypicalSpaceNeedBis", LabelTBSTypicalSpace_undefinedTitle);
  LabelTBSTypicalSpaceOne =
      ZEP2NewLabel(Frame11221, "LabelTBSTypicalSpaceOne", "   Available space : ");
  LabelTBSTypicalSpaceBis =
      ZEP2NewLabel(Frame11221, "LabelTBSTypicalSpaceBis", LabelTBSTypicalSpace_undefinedTitle);

  Frame11222 = ZEP2NewFrame(Skeleton.Frame1122, "Frame11222");
  LabelTBSTypicalDir = ZEP2NewLabel(Frame11222, "LabelTBSTypicalDir", LabelTBSTypicalDirTitle);
  EditorTBSTypicalDir = ZEP2NewEditor(Frame11222, "EditorTBSTypicalDir", 0, 0);
  EditorTBSTypicalDir->SetInputCallback(InputVerifTBSTypicalDir, this);
  EditorTBSTypicalDir->SetVerifyCallback(InputCheckFrameTBSTypical, this);

  SetPos();
}

void ZEP2FrmTBSTypical::SetPos() {
  Skeleton.SetPos();
  ZEP2StackRows(
      {LabelTBSTypicalOne, LabelTBSTypicalBis, LabelTBSTypicalTers, LabelTBSTypicalQuatro},
      ZEP2FrameJustification);
  ZEP2StackRows({Frame11221, Frame11222}, ZEP2FrameJustification);
  ZEP2FieldRows({{LabelTBSTypicalName, EditorTBSTypicalName},
                 {LabelTBSTypicalBLOBName, EditorTBSTypicalBLOBName},
                 {LabelTBSTypicalSpaceNeedOne, LabelTBSTypicalSpaceNeedBis},
                 {LabelTBSTypicalSpaceOne, LabelTBSTypicalSpaceBis}});
  ZEP2FieldRows({{LabelTBSTypicalDir, EditorTBSTypicalDir}});
}

void ZEP2FrmTBSTypical::ShowAvailableSpace(const QelUnicodeString& directory) {
  const int available = ZEP2DlgTBSTypical::GetAvailableSize(directory);
  if (available >= 0) {
    LabelTBSTypicalSpaceBis->SetTitle(QelUnicodeString::FromInt(available) +
                                      LabelTBSTypicalSpace_koTitle);
    return;
  }
  QelListValQelUnicodeString parameters;
  parameters.Append(directory);
  QelUnicodeString why;
  QelMsgCatalog::BuildMessage(QelMsg(available == -2 ? LabelTBSTypicalSpace_unqueriedTitle
                                                     : LabelTBSTypicalSpace_missingTitle),
                              why, parameters);
  LabelTBSTypicalSpaceBis->SetTitle(LabelTBSTypicalSpace_undefinedTitle + why);
}

ZEP2DlgTBSTypical::ZEP2DlgTBSTypical(QelInteractiveApplication* application, const QelString& name)
    : ZEP2PageDialog(application, name, PageStyle) {}

void ZEP2DlgTBSTypical::Build() {
  LoadTexts(
      "ZEP2DlgTBSTypical",
      {{"Title", &Title},
       {"ERRMSGWndTitle.Title", &ERRMSGWndTitle},
       {"ERRMSGTextToDisplayForTBSTYPIName.Title", &ERRMSGTextToDisplayForTBSTYPIName},
       {"ERRMSGTextToDisplayForTBSTYPIBLOBName.Title", &ERRMSGTextToDisplayForTBSTYPIBLOBName},
       {"ERRMSGTextToDisplayForTBSTYPINameW.Title", &ERRMSGTextToDisplayForTBSTYPINameW},
       {"ERRMSGTextToDisplayForTBSTYPIBLOBNameW.Title", &ERRMSGTextToDisplayForTBSTYPIBLOBNameW},
       {"ERRMSGOKTitle.Title", &ERRMSGOKTitle},
       {"ERRMSGTextToDisplayForTBSDATAFILE.Title", &ERRMSGTextToDisplayForTBSDATAFILE},
       {"ERRMSGTextToDisplayForWRONG_TBSDATAFILE.Title", &ERRMSGTextToDisplayForWRONG_TBSDATAFILE},
       {"ERRMSGTextToDisplayForSPACE_TBSDATAFILE.Title", &ERRMSGTextToDisplayForSPACE_TBSDATAFILE}},
      CancelGroup);
  Frame = new ZEP2FrmTBSTypical(this, "PtrZEP2FrmTBSTypical", FrameStyle);
  FinishBuild(Frame, CANCELButtonValue, 350);
}

void ZEP2DlgTBSTypical::CallBacksManager() {
  AddAnalyseNotificationCB(Frame->EditorTBSTypicalName->GetModifyNotification(),
                           EditorTBSTypicalNameSelect, nullptr);
  AddAnalyseNotificationCB(Frame->EditorTBSTypicalBLOBName->GetModifyNotification(),
                           EditorTBSTypicalBLOBNameSelect, nullptr);
  AddAnalyseNotificationCB(Frame->EditorTBSTypicalDir->GetModifyNotification(),
                           EditorTBSTypicalDirMod, this);
}

int ZEP2DlgTBSTypical::GetAvailableSize(QelUnicodeString path) {
  // The directory of a new tablespace is usually not created yet; the file
  // system it will live on is that of its nearest existing parent.
  std::string existing = path.str().substr(0, 1023);
  while (QelFileAccess(existing, 0) != 0) {
    const std::size_t slash = existing.rfind('/');
    if (slash == std::string::npos) return -1;
    existing.resize(slash);
  }
  struct statvfs64 fileSystem {};
  if (statvfs64(existing.c_str(), &fileSystem) != 0) return -2;

  // Dividing before multiplying keeps the product within 64 bits on any file
  // system; the few kilobytes lost to rounding are far below any requirement.
  const unsigned long long fragment = fileSystem.f_frsize;
  const unsigned long long blocks = fileSystem.f_bavail;
  unsigned long long kilobytes = 0;
  if (fragment >= 1024) {
    kilobytes = blocks * (fragment / 1024);
  } else if (blocks >= 1024) {
    kilobytes = (blocks / 1024) * fragment;
  } else {
    kilobytes = (blocks * fragment) / 1024;
  }
  // Beyond 2 TB free the count no longer fits; more than enough is enough,
  // and a wrapped negative count would refuse a huge file system.
  return kilobytes > INT_MAX ? INT_MAX : static_cast<int>(kilobytes);
}

void ZEP2DlgTBSTypical::EditorTBSTypicalNameSelect(QelCommand* command,
                                                   QelNotification* notification, void* data) {
  ZEP2UpperCaseHandler(command, notification, data);
}

void ZEP2DlgTBSTypical::EditorTBSTypicalBLOBNameSelect(QelCommand* command,
                                                       QelNotification* notification, void* data) {
  ZEP2UpperCaseHandler(command, notification, data);
}

void ZEP2DlgTBSTypical::EditorTBSTypicalDirMod(QelCommand* command, QelNotification* notification,
                                               void* data) {
  ZEP2FrmTBSTypical* frame = static_cast<ZEP2DlgTBSTypical*>(data)->Frame;
  // Measured before the slashes go: "/" alone must still name the root.
  frame->ShowAvailableSpace(frame->EditorTBSTypicalDir->GetText());
  ZEP2TrailingSlashHandler(command, notification, nullptr);
}
