// The start-up data: the project administration file, the data manager, the
// status graphs and the end of the PDM session, all as the administrator.
#include <fstream>
#include <iterator>
#include <string>

#include "app/ZEP2InstHQ.h"
#include "pages/ZEP2MessageBoxes.h"
#include "pages/ZEP2Pages.h"
#include "platform/QelLog.h"
#include "platform/QelRunNotes.h"
#include "platform/QelSystem.h"
#include "platform/db/QelDbBinary.h"
#include "platform/pdm/ZEPServices.h"

namespace {

using H = ZEP2InstHQ;

void LogEverywhere(const QelUnicodeString& text) {
  WriteErrLogFile(text);
  WriteLogFile(text);
  WriteTraceLogFile(text, 2);
}

void LogAndTrace(const QelUnicodeString& text) {
  WriteLogFile(text);
  WriteTraceLogFile(text, 1);
}

// The project file with every site placeholder replaced by this site's
// identifier. Returns false with the failure logged.
bool GiveTheSiteItsIdentifier(const std::string& path) {
  std::ifstream input(path, std::ios::binary);
  if (!input) {
    LogEverywhere("cannot open file [" + path + "]");
    return false;
  }
  std::string content{std::istreambuf_iterator<char>(input), std::istreambuf_iterator<char>()};
  input.close();
  unsigned char uuid[16];
  getuuid(uuid);
  const std::string site = "x" + QelDbBinary(uuid, sizeof uuid).GetHexaValue().str();
  const std::string placeholder = "DEFAULT_LOCAL_SITE_V5R8";
  for (std::size_t at = content.find(placeholder); at != std::string::npos;
       at = content.find(placeholder, at + site.size())) {
    content.replace(at, placeholder.size(), site);
  }
  std::ofstream output(path, std::ios::binary | std::ios::trunc);
  if (!output || !(output << content)) {
    LogEverywhere("cannot write into  file [" + path + "] : ");
    return false;
  }
  return true;
}

}  // namespace

void ZEP2InstHQ::ConfigurePdmServices() {
  ZEPServicesConfigure(_nvIBMDB2UDB ? QelDbDB2 : QelDbOracle,
                       _nvIBMDB2UDB ? _svDB2ALIASNAME : _svORASRVNAME, _svTESDICOOwner.ToUpper());
}

void ZEP2InstHQ::St_ZEPProject(QelCommand* command, int, void*) {
  StepBegin(command, "ZEPProject");
  ZEP2InstHQ* controller = _ZEP2InstHQHandler;
  ZEP2DlgSTATUS* status = controller->_DlgSTATUS;
  SetStatusLines(status->ZEPProject, "");
  StepProgress(20);
  _nvDBErrorCode = 0;
  controller->ConfigurePdmServices();
  if (QelGetEnv("TESSARDBSETUP_NO_ZEPPROJECT")) {
    WriteTraceLogFile("\nNO ZEPPROJECT", 1);
  } else {
    WriteTraceLogFile("\nZEPPROJECT", 1);
    SdaiSession* session = SdaiSession::CurrentSession();
    char path[1024];
    if (QelGetFilePathFromOfficialVariable("ZEPAdmin.adm", "QelDictionaryPath", path) != 0) {
      LogEverywhere(
          "QelGetFilePathFromOfficialVariable (ZEPAdmin.adm, QelDictionaryPath) failed. See "
          "traces for details.");
      StepEnd("ZEPProject");
      return;
    }
    if (!GiveTheSiteItsIdentifier(path)) {
      StepEnd("ZEPProject");
      return;
    }
    const QelUnicodeString admin = _svTESADM.ToUpper();
    const int code = ZEPXmlAdm(path, admin.c_str(), _svTESADMP.c_str());
    if (code != 0) {
      LogEverywhere(std::string("ZEPXmlAdm (") + path + ", " + admin.str() +
                    ") failed, rc = " + std::to_string(code));
      _nvDBErrorCode = code;
      StepEnd("ZEPProject");
      return;
    }
    if (session) session->CloseSession();
  }
  LogAndTrace("\nSt_ZEPProject OK");
  StepProgress(20);
  SetStatusLines(status->ZEPProject + status->Successfull, "");
  StepSubscribe(command, "St_ZEPDataManager", St_ZEPDataManager);
  StepEnd("ZEPProject");
}

void ZEP2InstHQ::St_ZEPDataManager(QelCommand* command, int, void*) {
  StepBegin(command, "ZEPDataManager");
  ZEP2InstHQ* controller = _ZEP2InstHQHandler;
  ZEP2DlgSTATUS* status = controller->_DlgSTATUS;
  SetStatusLines(status->ZEPDataManager, "");
  _nvDBErrorCode = 0;
  controller->ConfigurePdmServices();
  const QelUnicodeString admin = _svTESADM.ToUpper();
  int result = 0;
  const bool opened = ZEPSession::OpenSession(admin.c_str(), _svTESADMP.c_str()) != 0;
  if (opened) {
    WriteTraceLogFile("\nOpen ZEPSession : OK", 1);
  } else {
    WriteTraceLogFile("\nOpen ZEPSession : KO", 2);
    WriteErrLogFile("\nnSt_ZEPDataManager Open ZEPSession : KO");
    result = -8;
  }
  int loginStatus = 0;
  void* loginSession = nullptr;
  TAVOInstallCreateLoginSession(admin.c_str(), _svTESADMP.c_str(), "", loginStatus, loginSession);
  StepProgress(20);
  if (opened) {
    ZEPDataManagerAPI(admin.c_str(), _svTESADMP.c_str(), 0, _nvDBErrorCode, _svDBErrorMsg);
    result = _nvDBErrorCode;
  }
  _nvDBErrorCode = result;
  if (result == 0) {
    LogAndTrace("\nSt_ZEPDataManager OK");
    StepProgress(20);
    SetStatusLines(status->ZEPDataManager + status->Successfull, "");
    StepSubscribe(command, "St_ZEPRDBEI", St_ZEPRDBEI);
  } else {
    const QelUnicodeString code =
        "\nSt_ZEPDataManager Failed!: Error code: <" + QelUnicodeString::FromInt(result) + ">\n";
    const QelUnicodeString message =
        QelUnicodeString("\nSt_ZEPDataManager Failed!: Error msg : <") + _svDBErrorMsg + ">\n";
    for (const QelUnicodeString& line : {code, message}) {
      WriteErrLogFile(line);
      WriteLogFile(line);
    }
    controller->FailInstallation(command, controller->_DlgREPORT->ERRMSGWndTitleZEPDataManager,
                                 controller->_DlgREPORT->ERRMSGTextToDisplayForZEPDataManager);
  }
  StepEnd("ZEPDataManager");
}

void ZEP2InstHQ::St_ZEPRDBEI(QelCommand* command, int, void*) {
  StepBegin(command, "ZEPRDBEI");
  ZEP2InstHQ* controller = _ZEP2InstHQHandler;
  _nvDBErrorCode = 0;
  if (QelGetEnv("TESSARDBSETUP_NO_ZEPRDBEI")) {
    WriteTraceLogFile("\nNO ZEPRDBEI", 1);
    StepSubscribe(command, "St_ZEPSuppChain", St_ZEPSuppChain);
    StepEnd("ZEPRDBEI");
    return;
  }
  WriteTraceLogFile("\nSt_ZEPRDBEI\n", 1);
  const char* referenceFiles = QelGetEnv("QelReffilesPath");
  if (!referenceFiles) {
    StepEnd("ZEPRDBEI");
    return;
  }
  controller->ConfigurePdmServices();
  const std::string directory = std::string(referenceFiles) + "/sample";
  for (const QelUnicodeString& name : controller->_StatusGraphFileColl) {
    controller->ImportStatusGraph(directory, name);
  }
  StepProgress(20);
  _nvAUTHServer_Force = 0;
  StepSubscribe(command, "St_ZEPSuppChain", St_ZEPSuppChain);
  StepEnd("ZEPRDBEI");
}

void ZEP2InstHQ::ImportStatusGraph(const std::string& directory, const QelUnicodeString& name) {
  ZEP2DlgSTATUS* status = _DlgSTATUS;
  SetStatusLines(status->ZEPRDBEI_PSSG + name, "");
  StepProgress(20);
  WriteTraceLogFile("\nSt_ZEPRDBEI Import Status Graph File : <" + name + ">", 1);
  const QelUnicodeString admin = _svTESADM.ToUpper();
  const std::string path = directory + "/" + name.str();
  ZEPRDBEIAPI(admin.c_str(), _svTESADMP.c_str(), "Import", path.c_str(), _nvDBErrorCode,
              _svDBErrorMsg);
  if (_nvDBErrorCode == 0) {
    SetStatusLines(status->ZEPRDBEI_PSSG + name + status->Successfull, "");
    LogAndTrace("\nSt_ZEPRDBEI Status Graph File " + name + " Insertion Step OK\n");
    return;
  }
  // A graph that does not import is reported; the others still go in.
  SetStatusLines(status->ZEPRDBEI_PSSG + name, status->Failed);
  const QelUnicodeString failed =
      "\nSt_ZEPRDBEI Status Graph File " + name + " Insertion Step KO\n";
  WriteTraceLogFile(failed, 2);
  WriteErrLogFile(failed);
  WriteLogFile(failed);
  LogEverywhere(QelUnicodeString("\n") + _svDBErrorMsg + "\n");
  QelWarn("the status graph " + name.str() + " was not imported: " + _svDBErrorMsg);
  ZEP2ErrInCallBack box(this, _DlgREPORT, _DlgREPORT->ERRMSGWndTitleRDBEI,
                        _DlgREPORT->ERRMSGTextToDisplayForRDBEI, _svDBErrorMsg,
                        _DlgREPORT->ERRMSGOKTitle);
  box.Build();
}

void ZEP2InstHQ::St_ZEPSuppChain(QelCommand* command, int, void*) {
  StepBegin(command, "ZEPSuppChain");
  ZEP2DlgSTATUS* status = _ZEP2InstHQHandler->_DlgSTATUS;
  SetStatusLines(status->ZEPSuppChain, "");
  StepProgress(40);
  LogAndTrace("\nSt_ZEPSuppChain OK");
  SetStatusLines(status->ZEPSuppChain + status->Successfull, "");
  StepSubscribe(command, "St_AlterUserTmpSrvSys", St_AlterUserTmpSrvSys);
  ZEPSession::CloseSession();
  WriteTraceLogFile("\nCloseSession : OK", 1);
  _nvDBErrorCode = 0;
  StepEnd("ZEPSuppChain");
}
