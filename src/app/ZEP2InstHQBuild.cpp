// Build: every page created hidden in the controller's order, the first page
// of this process shown, and the pages' buttons wired to the controller.
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "ZEP2PageSteps.h"
#include "app/ZEP2InstHQ.h"
#include "pages/ZEP2PageHelp.h"
#include "pages/ZEP2Pages.h"
#include "platform/QelDisplay.h"
#include "platform/QelLog.h"
#include "platform/QelSystem.h"

namespace {

// A strictly positive decimal pid, or 0. Anything else must never reach
// kill(): 0 or a negative value would signal a whole process group.
pid_t ParsePid(const char* text) {
  if (!text || !*text) return 0;
  errno = 0;
  char* end = nullptr;
  const long value = std::strtol(text, &end, 10);
  if (errno != 0 || *end != '\0' || value <= 0 || value > INT_MAX) return 0;
  return static_cast<pid_t>(value);
}

}  // namespace

template <class Page>
Page* ZEP2InstHQ::AddPage(const char* name) {
  auto page = std::make_unique<Page>(_Application, name);
  page->SetFather(this);
  page->Build();
  page->SetVisibility(QelDlgObject::Hidden);
  Page* added = page.get();
  _Pages.push_back(std::move(page));
  return added;
}

void ZEP2InstHQ::Build() {
  QelSetPageStanding(ZEP2WhereTheRunStands);
  QelSetPageHelp(ZEP2PageHelpText);
  _DlgTESADM = AddPage<ZEP2DlgTESADM>("PanelTESADM");
  _DlgTESDICO = AddPage<ZEP2DlgTESDICO>("PanelTESDICO");
  _DlgTOEXE = AddPage<ZEP2DlgTOEXE>("PanelTOEXE");
  _DlgDBMSType = AddPage<ZEP2DlgDBMSType>("PanelDBMSType");
  _DlgDB2Param = AddPage<ZEP2DlgDB2Param>("PanelDB2Param");
  _DlgDB2Param2 = AddPage<ZEP2DlgDB2Param2>("PanelDB2Param2");
  _DlgORALoc = AddPage<ZEP2DlgORALoc>("PanelORALoc");
  _DlgORAParam = AddPage<ZEP2DlgORAParam>("PanelORAParam");
  _DlgORAParam2 = AddPage<ZEP2DlgORAParam2>("PanelORAParam2");
  _DlgDBAUSER = AddPage<ZEP2DlgDBAUSER>("PanelDBAUSER");
  _DlgTBSTypicalSel = AddPage<ZEP2DlgTBSTypicalSel>("PanelTBSTypicalSel");
  _DlgTBSTypical = AddPage<ZEP2DlgTBSTypical>("PanelTBSTypical");
  _DlgEXEParam = AddPage<ZEP2DlgEXEParam>("PanelEXECParam");
  _DlgVAULTADM = AddPage<ZEP2DlgVAULTADM>("PanelVAULTADM");
  _DlgWAIT = AddPage<ZEP2DlgWAIT>("PanelWAIT");
  _DlgCLASHADM = AddPage<ZEP2DlgCLASHADM>("PanelCLASHADM");
  _DlgCLASHSRV = AddPage<ZEP2DlgCLASHSRV>("PanelCLASHSRV");
  _DlgSUM = AddPage<ZEP2DlgSUM>("PanelSUM");
  _DlgREPORT = AddPage<ZEP2DlgREPORT>("PanelREPORT");
  _DlgSTATUS = AddPage<ZEP2DlgSTATUS>("PanelSTATUS");

  WriteTraceLogFile(_nvEXECINDB ? "\nDatabase execution mode" : "\nNO Database execution mode", 1);
  WriteTraceLogFile(_nvGENDDLONLY ? "\nFile execution mode\n" : "\nNO File execution mode\n", 1);

  if (!ReportStartCheck()) return;
  if (!_nvINSTPARTII) {
    _DlgTESADM->SetVisibility(QelDlgObject::Shown);
  } else {
    ShowSonFirstPage();
  }
  CallBacksManager();
}

void ZEP2InstHQ::ShowSonFirstPage() {
  GetUidGidHomd(_svRoot, &_nvRootUid, &_nvRootGid, &_svRootHomd);
  if (_nvIBMDB2UDB) {
    GetDB2Info(_svDB2INSTANCE.c_str());
    QelDlgCombo* aliases = _DlgDB2Param2->Frame->ComboDB2AliasName;
    WriteTraceLogFile(
        "\nNbrOfComboDB2AliasNameLine : " + QelUnicodeString::FromInt(aliases->GetNbrOfLines()), 1);
    // The alias of an earlier son of this run, when listed, stays chosen.
    int chosen = 0;
    for (int line = 0; line < aliases->GetNbrOfLines(); ++line) {
      if (aliases->GetLine(line).Compare(_svDB2ALIASNAME) == 2) chosen = line;
    }
    if (aliases->GetNbrOfLines() > 0) aliases->SetSelectedPosition(chosen, true);
    PresetAdministrator();
    if (QelGetEnv("FATHERPID")) SignalFather(_DlgDB2Param2);
  } else if (_nvOracle && QelGetEnv("FATHERPID")) {
    if (_svDBAUSER.Compare("") == 2) _DlgDBAUSER->Frame->EditorDBAUSER->SetText("SYSTEM");
    PresetAdministrator();
    SignalFather(_DlgDBAUSER);
  }
}

// Answers an earlier son of this run gave for the same database: going back
// to the first part to correct something else must not lose them.
void ZEP2InstHQ::PresetAdministrator() {
  if (_svDBAUSER.Compare("") != 2) _DlgDBAUSER->Frame->EditorDBAUSER->SetText(_svDBAUSER);
  if (_svDBAUSERP.Compare("") != 2) _DlgDBAUSER->Frame->EditorDBAUSERP->SetText(_svDBAUSERP);
}

void ZEP2InstHQ::SignalFather(QelDialog* firstPage) {
  const char* fatherPid = QelGetEnv("FATHERPID");
  WriteTraceLogFile(QelUnicodeString("\nGrand Father process pid: ") + fatherPid, 1);
  WriteTraceLogFile("\nProcess pid             : " + QelUnicodeString::FromInt(getpid()), 1);
  firstPage->SetVisibility(QelDlgObject::Shown);
  if (_Application) _Application->UpdateDisplay();
  if (const pid_t father = ParsePid(fatherPid)) {
    QelFlushLogFiles();
    // A father that cannot be signalled learns of its son only by the son's
    // end: the error log says why its page stayed up meanwhile.
    if (kill(father, SIGUSR1) != 0) {
      WriteErrLogFile("\nThe first process (pid " + QelUnicodeString(fatherPid) +
                      ") cannot be signalled: " + QelUnicodeString(std::strerror(errno)) + "\n");
    }
  }
}

void ZEP2InstHQ::CallBacksManager() {
  // Pages whose Cancel also releases the administrator connection are the
  // ones shown once it is open.
  struct Wiring {
    QelDlgDialog* page;
    PageHandlers handlers;
    QelNotificationHandler next;
    QelNotificationHandler back;
  };
  const Wiring wired[] = {
      {_DlgTESADM, {"TESADM", false}, CB_TESADM_Next, CB_TESADM_Back},
      {_DlgTESDICO, {"TESDICO", false}, CB_TESDICO_Next, CB_TESDICO_Back},
      {_DlgTOEXE, {"TOEXE", false}, CB_TOEXE_Next, CB_TOEXE_Back},
      {_DlgDBMSType, {"DBMSType", false}, CB_DBMSType_Next, CB_DBMSType_Back},
      {_DlgDB2Param, {"DB2Param", false}, CB_DB2Param_Next, CB_DB2Param_Back},
      {_DlgDB2Param2, {"DB2Param2", false}, CB_DB2Param2_Next, CB_DB2Param2_Back},
      {_DlgORALoc, {"ORALoc", false}, CB_ORALoc_Next, CB_ORALoc_Back},
      {_DlgORAParam, {"ORAParam", false}, CB_ORAParam_Next, CB_ORAParam_Back},
      {_DlgORAParam2, {"ORAParam2", false}, CB_ORAParam2_Next, CB_ORAParam2_Back},
      {_DlgDBAUSER, {"DBAUSER", false}, CB_DBAUSER_Next, CB_DBAUSER_Back},
      {_DlgTBSTypicalSel, {"TBSTypicalSel", true}, CB_TBSTypicalSel_Next, CB_TBSTypicalSel_Back},
      {_DlgTBSTypical, {"TBSTypical", true}, CB_TBSTypical_Next, CB_TBSTypical_Back},
      {_DlgEXEParam, {"EXEParam", false}, CB_EXEParam_Next, CB_EXEParam_Back},
      {_DlgVAULTADM, {"VAULTADM", true}, CB_VAULTADM_Next, CB_VAULTADM_Back},
      {_DlgCLASHADM, {"CLASHADM", true}, CB_CLASHADM_Next, CB_CLASHADM_Back},
      {_DlgCLASHSRV, {"CLASHSRV", true}, CB_CLASHSRV_Next, CB_CLASHSRV_Back},
      {_DlgSUM, {"SUM", false}, CB_SUM_Next, CB_SUM_Back},
      {_DlgSTATUS, {"STATUS", false}, nullptr, nullptr},
      {_DlgREPORT, {"REPORT", true}, CB_REPORT_Next, CB_REPORT_Back}};
  // The handlers' client data lives as long as the controller.
  _PageHandlers.clear();
  _PageHandlers.reserve(std::size(wired));
  for (const Wiring& wiring : wired) {
    QelDlgDialog* page = wiring.page;
    PageHandlers* handlers = &_PageHandlers.emplace_back(wiring.handlers);
    AddAnalyseNotificationCB(page->GetWindCloseNotification(), CB_Close, handlers);
    if (page == _DlgSTATUS) {
      AddAnalyseNotificationCB(page->GetDiaAPPLYNotification(), CB_STATUS_Cancel, nullptr);
      continue;
    }
    AddAnalyseNotificationCB(page->GetDiaAPPLYNotification(), CB_Cancel, handlers);
    AddAnalyseNotificationCB(page->GetDiaOKNotification(), wiring.back, nullptr);
    AddAnalyseNotificationCB(page->GetDiaCANCELNotification(), wiring.next, nullptr);
  }
}
