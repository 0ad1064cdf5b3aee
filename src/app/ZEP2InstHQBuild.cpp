// Build: every page created hidden in the controller's order, the first page
// of this process shown, and the pages' buttons wired to the controller.
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>

#include "app/ZEP2InstHQ.h"
#include "pages/ZEP2Pages.h"
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
    QelDlgCombo* aliases = _DlgDB2Param2->Frame->ComboDB2AliasName;
    WriteTraceLogFile(
        "\nNbrOfComboDB2AliasNameLine : " + QelUnicodeString::FromInt(aliases->GetNbrOfLines()), 1);
    if (aliases->GetNbrOfLines() > 0) aliases->SetSelectedPosition(0, true);
    if (QelGetEnv("FATHERPID")) SignalFather(_DlgDB2Param2);
  } else if (_nvOracle && QelGetEnv("FATHERPID")) {
    if (_svDBAUSER.Compare("") == 2) _DlgDBAUSER->Frame->EditorDBAUSER->SetText("SYSTEM");
    SignalFather(_DlgDBAUSER);
  }
}

void ZEP2InstHQ::SignalFather(QelDialog* firstPage) {
  const char* fatherPid = QelGetEnv("FATHERPID");
  WriteTraceLogFile(QelUnicodeString("\nGrand Father process pid: ") + fatherPid, 1);
  WriteTraceLogFile("\nProcess pid             : " + QelUnicodeString::FromInt(getpid()), 1);
  firstPage->SetVisibility(QelDlgObject::Shown);
  if (_Application) _Application->UpdateDisplay();
  if (const pid_t father = ParsePid(fatherPid)) kill(father, SIGUSR1);
}

void ZEP2InstHQ::CallBacksManager() {
  // Pages whose Cancel also releases the administrator connection are the
  // ones shown once it is open.
  static const PageHandlers tesadm{"TESADM", false}, tesdico{"TESDICO", false},
      toexe{"TOEXE", false}, dbmsType{"DBMSType", false}, db2Param{"DB2Param", false},
      db2Param2{"DB2Param2", false}, oraLoc{"ORALoc", false}, oraParam{"ORAParam", false},
      oraParam2{"ORAParam2", false}, dbaUser{"DBAUSER", false},
      tbsTypicalSel{"TBSTypicalSel", true}, tbsTypical{"TBSTypical", true},
      exeParam{"EXEParam", false}, vaultAdm{"VAULTADM", true}, clashAdm{"CLASHADM", true},
      clashSrv{"CLASHSRV", true}, sum{"SUM", false}, status{"STATUS", false},
      report{"REPORT", true};
  const std::pair<QelDlgDialog*, const PageHandlers*> wired[] = {
      {_DlgTESADM, &tesadm},
      {_DlgTESDICO, &tesdico},
      {_DlgTOEXE, &toexe},
      {_DlgDBMSType, &dbmsType},
      {_DlgDB2Param, &db2Param},
      {_DlgDB2Param2, &db2Param2},
      {_DlgORALoc, &oraLoc},
      {_DlgORAParam, &oraParam},
      {_DlgORAParam2, &oraParam2},
      {_DlgDBAUSER, &dbaUser},
      {_DlgTBSTypicalSel, &tbsTypicalSel},
      {_DlgTBSTypical, &tbsTypical},
      {_DlgEXEParam, &exeParam},
      {_DlgVAULTADM, &vaultAdm},
      {_DlgCLASHADM, &clashAdm},
      {_DlgCLASHSRV, &clashSrv},
      {_DlgSUM, &sum},
      {_DlgSTATUS, &status},
      {_DlgREPORT, &report}};
  for (const auto& [page, handlers] : wired) {
    void* data = const_cast<PageHandlers*>(handlers);
    AddAnalyseNotificationCB(page->GetWindCloseNotification(), CB_Close, data);
    if (page == _DlgSTATUS) continue;
    AddAnalyseNotificationCB(page->GetDiaAPPLYNotification(), CB_Cancel, data);
  }
}
