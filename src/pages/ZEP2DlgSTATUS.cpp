// Page STATUS and its progress bar. The range is an estimate made once, from
// the sizes of the engine's collections: the steps advance the bar by fixed
// amounts per unit of work, and the end fills whatever the estimate left over.
#include "ZEP2DlgSTATUS.h"

#include <dirent.h>

#include <chrono>
#include <memory>
#include <string>
#include <string_view>
#include <thread>

#include "ZEP2DlgTBSTypicalSel.h"
#include "app/ZEP2InstHQ.h"
#include "platform/QelApplication.h"
#include "platform/QelLog.h"
#include "platform/QelSystem.h"

namespace {

using H = ZEP2InstHQ;

// The text of the tablespace combo's default entry: a selection equal to it
// means the typical tablespace is to be created, which is one more step.
QelUnicodeString DefaultTablespaceEntry() {
  const ZEP2DlgTBSTypicalSel* page = H::_ZEP2InstHQHandler->_DlgTBSTypicalSel;
  if (page && page->Frame) return page->Frame->LabelTBSTypicalComboDefTitle;
  return {};
}

void SleepSeconds(int seconds) {
  std::this_thread::sleep_for(std::chrono::seconds(seconds));
}

}  // namespace

ZEP2FrmSTATUS::PauseFunction ZEP2FrmSTATUS::Pause = SleepSeconds;

ZEP2FrmSTATUS::ZEP2FrmSTATUS(QelDialog* parent, const QelString& name, unsigned long style)
    : QelDlgFrame(parent, name, style) {
  // The catalogue is loaded for its trace when it is missing; the state lines
  // take their texts from the dialog.
  ZEP2LoadCatalogTexts("ZEP2FrmSTATUS", std::vector<ZEP2CatalogKey>{});

  LabelSTATUSStateOne = new QelDlgLabel(this, "LabelSTATUSStateOne", 0);
  LabelSTATUSStateTwo = new QelDlgLabel(this, "LabelSTATUSStateTwo", 0);
  ProgressSTATUS = new QelDlgProgress(this, "ProgressSTATUS", 0);
  LabelSTATUSStateTers = new QelDlgLabel(this, "LabelSTATUSStateTers", 0x80000);

  SetPos();
}

void ZEP2FrmSTATUS::SetPos() {
  ZEP2StackRows({LabelSTATUSStateOne, LabelSTATUSStateTwo, ProgressSTATUS}, ZEP2FrameJustification);
  LabelSTATUSStateTers->SetConstraints(3, 0, 126);
  SetResizableColumn(0);
}

ZEP2DlgSTATUS* ZEP2FrmSTATUS::Dialog() const {
  return static_cast<ZEP2DlgSTATUS*>(GetParent());
}

void ZEP2FrmSTATUS::Repaint() const {
  if (QelInteractiveApplication* application = Dialog()->GetApplication())
    application->UpdateDisplay();
}

void ZEP2FrmSTATUS::ShowAndRepaint() const {
  Dialog()->SetVisibility(Shown);
  Repaint();
}

int ZEP2FrmSTATUS::Percentage(int position) {
  return position > 0 && H::_nvRangeMax > 0 ? position * 100 / H::_nvRangeMax : 0;
}

void ZEP2FrmSTATUS::ListStatusGraphFiles(QelListValQelUnicodeString& files) {
  files.Clear();
  const char* referenceFiles = QelGetEnv("QelReffilesPath");
  if (!referenceFiles) return;
  const std::string directory = std::string(referenceFiles) + "/sample";
  const std::unique_ptr<DIR, int (*)(DIR*)> entries(opendir(directory.c_str()), closedir);
  if (!entries) return;
  while (const dirent* entry = readdir(entries.get())) {
    const std::string_view name = entry->d_name;
    if (name.ends_with(".VGraph") && name.find("ZEP") != std::string_view::npos) {
      files.Append(name);
      WriteTraceLogFile("svStatusGraphFileName : " + QelUnicodeString(name), 1);
    }
  }
}

void ZEP2FrmSTATUS::SetProgressStatusBarRange(int dbObjects, int startupData,
                                              [[maybe_unused]] int sampleData,
                                              [[maybe_unused]] int execInDb) {
  WriteTraceLogFile("\n\nSetProgressStatusBarRange Begin ...\n", 0);
  ZEP2DlgSTATUS* const page = Dialog();
  LabelSTATUSStateOne->SetTitle(page->DDLRead);
  LabelSTATUSStateTwo->SetTitle("");
  LabelSTATUSStateTers->SetTitle("0" + page->PercentSuffix);
  ShowAndRepaint();

  ZEP2InstHQ* const controller = H::_ZEP2InstHQHandler;
  if (startupData) ListStatusGraphFiles(controller->_StatusGraphFileColl);

  const int modelers = controller->_ModelerNameColl.Size();
  const int usersToCreate = controller->_DBUserToCreateColl.Size();
  const int usersToConnect = controller->_UserToCnxColl.Size();
  const int usersToServer = controller->_DBUserToAlterDefSysSrvColl.Size();
  const int usersToSystem = controller->_DBUserToAlterDefSrvSysColl.Size();
  const int usersForTheRun = controller->_DBUserToAlterTmpSysSrvSysColl.Size();
  const int statusGraphs = controller->_StatusGraphFileColl.Size();
  // Counted twice when there is database work: once before it, once after.
  const int baseSteps = (modelers - 1) * 2 + 90;
  const int dataInitialisationSteps = 40 + 40 + 40 + 20 * statusGraphs;

  int range = 40 + baseSteps;
  if (dbObjects) {
    const QelUnicodeString defaultEntry = DefaultTablespaceEntry();
    if (H::_svSELTBSTYPICAL_NOBLOB.Compare(defaultEntry) == 2 ||
        H::_svSELTBSTYPICAL_BLOB.Compare(defaultEntry) == 2) {
      range += 20;
    }
    range += (2 * modelers + 2) * 20;
    if (H::_nvOracle) {
      range += (modelers + 2 * usersToCreate + usersToConnect + 2 * usersToServer +
                2 * usersToSystem + 3 * usersForTheRun) *
               20;
    }
    range += H::_nvNbrOfOrdersInALLDDL;
    if (startupData) range += dataInitialisationSteps;
    range += baseSteps;
  } else if (startupData) {
    range += (modelers + 2) * 20;
    if (H::_nvOracle) {
      range +=
          (modelers + usersToConnect + 2 * usersToServer + 2 * usersToSystem + 3 * usersForTheRun) *
          20;
    }
    range += dataInitialisationSteps;
    range += baseSteps;
  }
  H::_nvRangeMax = range;

  ProgressSTATUS->SetRange(H::_nvRangeMin, H::_nvRangeMax);
  ProgressSTATUS->SetStep(H::_nvStep);

  LabelSTATUSStateTwo->SetTitle(page->DDLRead + page->Successfull);
  ShowAndRepaint();
  WriteTraceLogFile("\nSetProgressStatusBarRange End.\n\n", 0);
}

void ZEP2FrmSTATUS::ProgressStatusBarStepIt() {
  const int before = Percentage(ProgressSTATUS->GetPosition());
  ProgressSTATUS->StepIt();
  const int after = Percentage(ProgressSTATUS->GetPosition());
  if (after == before) return;
  LabelSTATUSStateTers->SetTitle(QelUnicodeString::FromInt(after) + Dialog()->PercentSuffix);
  Repaint();
}

void ZEP2FrmSTATUS::ProgressStatusBarEndStepIt() {
  for (int position = ProgressSTATUS->GetPosition(); position <= H::_nvRangeMax; ++position)
    ProgressStatusBarStepIt();
  Pause(2);
}

ZEP2DlgSTATUS::ZEP2DlgSTATUS(QelInteractiveApplication* application, const QelString& name)
    : ZEP2PageDialog(application, name, StatusStyle) {}

void ZEP2DlgSTATUS::Build() {
  LoadTexts("ZEP2DlgSTATUS",
            {{"Title", &Title},
             {"Welcome.Title", &Welcome},
             {"Abort.Title", &Abort},
             {"Successfull.Title", &Successfull},
             {"Failed.Title", &Failed},
             {"DBCONN.Title", &DBCONN},
             {"DDLRead.Title", &DDLRead},
             {"DDLFileExe.Title", &DDLFileExe},
             {"EnvFiles.Title", &EnvFiles},
             {"TBSCreation.Title", &TBSCreation},
             {"USERCreation.Title", &USERCreation},
             {"USERGrant.Title", &USERGrant},
             {"USERAlter.Title", &USERAlter},
             {"ZEPDataManager.Title", &ZEPDataManager},
             {"ZEPProject.Title", &ZEPProject},
             {"ZEPSuppChain.Title", &ZEPSuppChain},
             {"ZEPRDBEI_PSSG.Title", &ZEPRDBEI_PSSG},
             {"ZEPRDBEI_AFSG.Title", &ZEPRDBEI_AFSG},
             {"ZEPRDBEI_INTRO.Title", &ZEPRDBEI_INTRO},
             {"ERRMSGWndTitleDBCONN.Title", &ERRMSGWndTitleDBCONN},
             {"ERRMSGTextToDisplayForDBCONN.Title", &ERRMSGTextToDisplayForDBCONN},
             {"ERRMSGWndTitleTBSCREATION.Title", &ERRMSGWndTitleTBSCREATION},
             {"ERRMSGTextToDisplayForTBSCREATION.Title", &ERRMSGTextToDisplayForTBSCREATION},
             {"ERRMSGWndTitleUSERCREATION.Title", &ERRMSGWndTitleUSERCREATION},
             {"ERRMSGTextToDisplayForUSERCREATION.Title", &ERRMSGTextToDisplayForUSERCREATION},
             {"ERRMSGWndTitleUSERGRANT.Title", &ERRMSGWndTitleUSERGRANT},
             {"ERRMSGTextToDisplayForUSERGRANT.Title", &ERRMSGTextToDisplayForUSERGRANT},
             {"ERRMSGWndTitleUSERALTER.Title", &ERRMSGWndTitleUSERALTER},
             {"ERRMSGTextToDisplayForUSERALTER.Title", &ERRMSGTextToDisplayForUSERALTER},
             {"ERRMSGWndTitleEXEDDL.Title", &ERRMSGWndTitleEXEDDL},
             {"ERRMSGTextToDisplayForEXEDDL.Title", &ERRMSGTextToDisplayForEXEDDL},
             {"ERRMSGOKTitle.Title", &ERRMSGOKTitle}},
            CancelGroup);
  Frame = new ZEP2FrmSTATUS(this, "PtrZEP2FrmSTATUS", FrameStyle);
  FinishBuild(Frame, APPLYButtonValue, StatusWidth);
}
