// Next of the vault and clash pages: accounts checked against the machine,
// directories offered for creation and given to their owner, the clash
// server's host and port.
#include <netdb.h>
#include <sys/stat.h>

#include <vector>

#include "app/ZEP2InstHQ.h"
#include "engine/ZEP2ValidationMode.h"
#include "pages/ZEP2MessageBoxes.h"
#include "pages/ZEP2Pages.h"
#include "platform/QelDirectories.h"
#include "platform/QelLog.h"
#include "platform/QelMsgCatalog.h"
#include "platform/QelSystem.h"
#include "wizard/ZEP2PageHelpers.h"

namespace {

using zep2pages::Empty;
using zep2pages::Show;
using zep2pages::Trace;

using H = ZEP2InstHQ;

QelUnicodeString Built(const char* catalog, const char* key, const QelUnicodeString& directory) {
  QelListValQelUnicodeString parameters;
  parameters.Append(directory);
  return QelMsgCatalog::BuildMessage(catalog, key, parameters, "");
}

// The three vault directories and their required state.
struct VaultDirectory {
  QelUnicodeString path;
  const char* name;
  mode_t bits;
};

std::vector<VaultDirectory> VaultDirectories(const QelUnicodeString& repository) {
  const QelUnicodeString base = repository.Strip(QelUnicodeString::Trailing, '/');
  return {{repository, "VAULTRepository", 0777},
          {base + "/tmp", "VAULTRepositoryTmp", 0777},
          {base + "/secured0", "VAULTRepositorySecured", 0755}};
}

QelUnicodeString Code(const char* label, const QelUnicodeString& path, int code) {
  return label + path + "> : " + QelUnicodeString::FromInt(code);
}

}  // namespace

bool ZEP2InstHQ::AuthenticateOrRefuse(ZEP2PageDialog* page, const QelUnicodeString& account,
                                      const QelUnicodeString& password, const char* traceLabel,
                                      const QelUnicodeString& rootForbidden,
                                      const QelUnicodeString& invalidUser,
                                      const QelUnicodeString& invalidPassword) {
  const int code = authenticateWithPassword(account.c_str(), password.c_str());
  Trace(traceLabel + QelUnicodeString::FromInt(code));
  if (code == -2 && Refused(page, rootForbidden)) return false;
  if (code == -3 && Refused(page, invalidUser)) return false;
  if (code == -4 && Refused(page, invalidPassword)) return false;
  return true;
}

bool ZEP2InstHQ::AskToCreate(ZEP2PageDialog* page, const char* catalog,
                             const QelUnicodeString& directory) {
  page->CurrentQuestion = Built(catalog, "CREATEDIRTextToDisplayForCREATEDIR.Title", directory);
  _YesNoInCallBack = std::make_unique<ZEP2YesNoInCallBack>(
      this, page, page->CREATEDIRWndTitle, page->CurrentQuestion, page->CREATEDIRYESBUTTON,
      page->CREATEDIRNOBUTTON, "");
  const int answer = _YesNoInCallBack->Build();
  _YesNoInCallBack.reset();
  return answer == QelDlgNotify::YesValue;
}

void ZEP2InstHQ::CB_VAULTADM_Next(QelCommand*, QelNotification*, void*) {
  Trace("\nCB_VAULTADM_Next NEXT");
  ZEP2InstHQ* c = _ZEP2InstHQHandler;
  c->BusyCursor();
  ZEP2DlgVAULTADM* page = c->_DlgVAULTADM;
  const ZEP2FrmVAULTADM* frame = page->Frame;
  _svVAULTAdm = frame->EditorVAULTADM->GetText();
  _svVAULTAdmP = frame->EditorVAULTADMP->GetText();
  _svVAULTSrvDaemonPort = frame->EditorVAULTDaemonPort->GetText();
  _svVAULTRepository = frame->EditorVAULTRepo->GetText();
  QelSystemInfo system;
  QelGetSystemInfo(system);
  _svVAULTSrvHostName = system.hostName;
  Trace("\n_svVAULTSrvHostName : <" + _svVAULTSrvHostName + ">");
  Trace("\n_svVAULTSrvDaemonPort : <" + _svVAULTSrvDaemonPort + ">");
  Trace("\n_svVAULTRepository : <" + _svVAULTRepository + ">");
  if (Empty(_svVAULTSrvDaemonPort)) {
    if (c->Refused(page, page->ERRMSGTextToDisplayForVAULTDaemonPort, frame->EditorVAULTDaemonPort))
      return;
  }
  if (Empty(_svVAULTRepository) &&
      c->Refused(page, page->ERRMSGTextToDisplayForREPO, frame->EditorVAULTRepo))
    return;
  if (Empty(_svVAULTAdm) &&
      c->Refused(page, page->ERRMSGTextToDisplayForVAULTADM, frame->EditorVAULTADM))
    return;
  if (Empty(_svVAULTAdmP) &&
      c->Refused(page, page->ERRMSGTextToDisplayForVAULTADMP, frame->EditorVAULTADMP))
    return;
  // The vault administrator may become a database user of its own.
  const int dbms = _nvIBMDB2UDB ? QelDbDB2 : QelDbOracle;
  const QelDbDialect& dialect = QelDbDialect::For(dbms);
  if (c->RefusedForDBMS(page, dialect.CheckUserName(_svVAULTAdm.ToUpper().str()), "SubjectVAULTADM",
                        dbms) ||
      c->RefusedForDBMS(page, dialect.CheckPassword(_svVAULTAdmP.str()), "SubjectVAULTADMP",
                        dbms)) {
    return;
  }
  if (!c->AuthenticateOrRefuse(page, _svVAULTAdm, _svVAULTAdmP,
                               "\nRCRCauthenticateWithPassword : ", page->ERRMSGRootUserForbidden,
                               page->ERRMSGInvalidUsername, page->ERRMSGInvalidPassword)) {
    return;
  }
  c->GetUidGidHomd(_svVAULTAdm, &_nvVAULTAdmUid, &_nvVAULTAdmGid, &_svVAULTAdmHomd);
  if (c->PrepareVaultRepository()) c->LeaveVaultPage();
}

bool ZEP2InstHQ::PrepareVaultRepository() {
  ZEP2DlgVAULTADM* page = _DlgVAULTADM;
  const std::vector<VaultDirectory> directories = VaultDirectories(_svVAULTRepository);
  bool allExist = true;
  bool allRight = true;
  for (const VaultDirectory& directory : directories) {
    const bool exists = QelFileAccess(directory.path, 0) == 0;
    Trace(QelUnicodeString("\n") + directory.name + (exists ? " Exist OK" : " Exist KO"));
    QelFileInfo info;
    const bool known = exists && QelGetFileInfo(directory.path, info) == 0;
    const bool bits = known && (info.permissions & directory.bits) == directory.bits;
    const bool owner = known && static_cast<int>(info.uid) == _nvVAULTAdmUid &&
                       static_cast<int>(info.gid) == _nvVAULTAdmGid;
    Trace(QelUnicodeString("\n") + directory.name + (bits ? " Access OK" : " Access KO"));
    Trace(QelUnicodeString("\n") + directory.name + (owner ? " Uid Gid OK" : " Uid Gid KO"));
    allExist = allExist && exists;
    allRight = allRight && bits && owner;
  }
  const QelUnicodeString& repository = _svVAULTRepository;
  // The checks at the end report what is missing or wrong; nothing is
  // created or changed before them.
  if (zep2validation::Requested()) return true;
  if (allExist && allRight) {
    Trace("\nAll Vault Repository Parameters OK");
    return true;
  }
  Trace("\nAll Vault Repository Param NOT OK");
  if (allExist) {
    const int chmodCode = ZEPChmod(repository);
    Trace(Code("\nRC_ZEPChmod <", repository, chmodCode));
    const int chownCode = ZEPChown(repository, _nvVAULTAdmUid, _nvVAULTAdmGid);
    Trace(Code("\nRC_ZEPChown <", repository, chownCode));
    if (chmodCode != 0) {
      ShowError(page, Built("ZEP2DlgVAULTADM", "ERRMSGDirChmodFailed.Title", repository));
      return false;
    }
    if (chownCode != 0) {
      ShowError(page, Built("ZEP2DlgVAULTADM", "ERRMSGDirChownFailed.Title", repository));
      return false;
    }
    return true;
  }
  Trace("\nAt least one directory doesn't exist");
  // An existing directory counts as a yes, so one answer can carry all.
  bool anyYes = false;
  for (const VaultDirectory& directory : directories) {
    const bool yes = QelFileAccess(directory.path, 0) == 0 ||
                     AskToCreate(page, "ZEP2DlgVAULTADM", directory.path);
    anyYes = anyYes || yes;
  }
  if (!anyYes) {
    Trace("\nDon't want to create Vault Repository");
    return false;
  }
  std::vector<QelUnicodeString> paths;
  for (const VaultDirectory& directory : directories) paths.push_back(directory.path);
  return CreateVaultRepository(paths);
}

bool ZEP2InstHQ::CreateVaultRepository(const std::vector<QelUnicodeString>& subdirectories) {
  ZEP2DlgVAULTADM* page = _DlgVAULTADM;
  const QelUnicodeString& repository = _svVAULTRepository;
  Trace("\nTry to create Vault Repository ...");
  if (CreateDirRecurs(repository) != 0) {
    Trace("\nRC_CreateDirRecurs KO");
    ShowError(page, Built("ZEP2DlgVAULTADM", "ERRMSGDirCreationFailed.Title", repository));
    return false;
  }
  Trace("\nRC_CreateDirRecurs OK");
  const int accessCode = QelFileAccess(repository, 0);
  Trace(Code("\nRC_QelFileAccess <", repository, accessCode));
  const int chmodCode = accessCode == 0 ? ZEPChmod(repository) : -1;
  Trace(Code("\nRC_ZEPChmod <", repository, chmodCode));
  const int chownCode = chmodCode == 0 ? ZEPChown(repository, _nvVAULTAdmUid, _nvVAULTAdmGid) : -1;
  Trace(Code("\nRC_ZEPChown <", repository, chownCode));
  const std::pair<int, const char*> checks[] = {{accessCode, "ERRMSGDirAccessFailed.Title"},
                                                {chmodCode, "ERRMSGDirChmodFailed.Title"},
                                                {chownCode, "ERRMSGDirChownFailed.Title"}};
  const char* failures[] = {"\nRC_QelFileAccess KO", "\nRC_ZEPChmod KO", "\nRC_ZEPChown KO"};
  for (int i = 0; i < 3; ++i) {
    if (checks[i].first == 0) continue;
    Trace(failures[i]);
    ShowError(page, Built("ZEP2DlgVAULTADM", checks[i].second, repository));
    return false;
  }
  Trace("\nRC_QelFileAccess OK");
  Trace("\nRC_ZEPChmod OK");
  Trace("\nRC_ZEPChown OK");
  for (std::size_t i = 1; i < subdirectories.size(); ++i) CreateDirRecurs(subdirectories[i]);
  _DlgSUM->SetSummary();
  // The second pass gives the new sub-directories their bits and owner.
  const int created = CreateDirRecurs(repository);
  Trace(Code("\nRC_QelFileAccess <", repository, created));
  const int modes = ZEPChmod(repository);
  Trace(Code("\nRC_ZEPChmod <", repository, modes));
  const int owner = ZEPChown(repository, _nvVAULTAdmUid, _nvVAULTAdmGid);
  Trace(Code("\nRC_ZEPChown <", repository, owner));
  return created == 0 && modes == 0 && owner == 0;
}

void ZEP2InstHQ::LeaveVaultPage() {
  _DlgSUM->SetSummary();
  _DlgVAULTADM->SetVisibility(QelDlgObject::Hidden);
  StartPreparation();
}

void ZEP2InstHQ::CB_CLASHADM_Next(QelCommand*, QelNotification*, void*) {
  Trace("\nCB_CLASHADM_Next NEXT");
  ZEP2InstHQ* c = _ZEP2InstHQHandler;
  _nvCLASHAdmUid = -1;
  _nvCLASHAdmGid = -1;
  c->BusyCursor();
  ZEP2DlgCLASHADM* page = c->_DlgCLASHADM;
  const ZEP2FrmCLASHADM* frame = page->Frame;
  _svCLASHAdm = frame->EditorCLASHADM->GetText();
  _svCLASHAdmP = frame->EditorCLASHADMP->GetText();
  _svCLASHOutDir = frame->EditorCLASHOutDir->GetText();
  _svCLASHV5InstPath = frame->EditorCLASHV5InstPath->GetText();
  Trace("\n_svCLASHAdm : <" + _svCLASHAdm + ">");
  Trace("\n_svCLASHOutDir : <" + _svCLASHOutDir + ">");
  if (Empty(_svCLASHAdm) &&
      c->Refused(page, page->ERRMSGTextToDisplayForCLASHADM, frame->EditorCLASHADM))
    return;
  if (Empty(_svCLASHAdmP) &&
      c->Refused(page, page->ERRMSGTextToDisplayForCLASHADMP, frame->EditorCLASHADMP))
    return;
  if (!c->AuthenticateOrRefuse(page, _svCLASHAdm, _svCLASHAdmP,
                               "\nRCAuthPW : ", page->ERRMSGRootUserForbidden,
                               page->ERRMSGInvalidUsername, page->ERRMSGInvalidPassword)) {
    return;
  }
  c->GetUidGidHomd(_svCLASHAdm, &_nvCLASHAdmUid, &_nvCLASHAdmGid, &_svCLASHAdmHomd);
  Trace("\n_nvCLASHAdmUid :<" + QelUnicodeString::FromInt(_nvCLASHAdmUid) + ">");
  Trace("\n_nvCLASHAdmGid :<" + QelUnicodeString::FromInt(_nvCLASHAdmGid) + ">");
  Trace("\n_svCLASHAdmHomd :<" + _svCLASHAdmHomd + ">");
  if (Empty(_svCLASHOutDir) &&
      c->Refused(page, page->ERRMSGTextToDisplayForREPO, frame->EditorCLASHOutDir))
    return;
  if (QelFileAccess(_svCLASHOutDir, 0) != 0) {
    Trace("\nCLASHOutDir Exist KO");
    if (!c->AskToCreate(page, "ZEP2DlgCLASHADM", _svCLASHOutDir)) return;
    Trace("\nTry to create Clash Directory ...");
    if (CreateDirRecurs(_svCLASHOutDir) != 0) {
      Trace("\nRC_CreateDirRecurs KO");
      Trace("\nCLASHOutDir Exist KO");
      if (c->Refused(page, page->ERRMSGTextToDisplayForWRONG_REPO, frame->EditorCLASHOutDir))
        return;
    }
    Trace("\nRC_CreateDirRecurs OK");
  } else {
    Trace("\nCLASHOutDir Exist OK");
  }
  Trace(Code("\nRC_ZEPChown <", _svCLASHOutDir,
             ZEPChown(_svCLASHOutDir, _nvCLASHAdmUid, _nvCLASHAdmGid)));
  if (Empty(_svCLASHV5InstPath) &&
      c->Refused(page, page->ERRMSGTextToDisplayForPATH, frame->EditorCLASHV5InstPath))
    return;
  if (QelFileAccess(_svCLASHV5InstPath, 0) != 0) {
    Trace("\nCLASHV5InstPath Exist KO");
    if (c->Refused(page, page->ERRMSGTextToDisplayForWRONG_PATH, frame->EditorCLASHV5InstPath))
      return;
  }
  Trace("\nCLASHV5InstPath Exist OK");
  c->_DlgSUM->SetSummary();
  c->_DlgSUM->SetVisibility(QelDlgObject::Shown);
  page->SetVisibility(QelDlgObject::Hidden);
}

void ZEP2InstHQ::CB_CLASHSRV_Next(QelCommand*, QelNotification*, void*) {
  Trace("\nCB_CLASHSRV_Next NEXT");
  ZEP2InstHQ* c = _ZEP2InstHQHandler;
  c->BusyCursor();
  ZEP2DlgCLASHSRV* page = c->_DlgCLASHSRV;
  _svCLASHSrvHostName = page->Frame->EditorCLASHSRVHostName->GetText();
  _nvCLASHOrbixPort = std::atoi(page->Frame->EditorCLASHSRVOrbixPort->GetText().c_str());
  Trace("\n_svCLASHSrvHostName :<" + _svCLASHSrvHostName + ">");
  Trace("\n_nvCLASHOrbixPort :<" + QelUnicodeString::FromInt(_nvCLASHOrbixPort) + ">");
  if (Empty(_svCLASHSrvHostName) &&
      c->Refused(page, page->ERRMSGTextToDisplayForCLASHSRV, page->Frame->EditorCLASHSRVHostName))
    return;
  hostent entry{};
  hostent* found = nullptr;
  std::vector<char> buffer(8192);
  int resolverError = 0;
  gethostbyname_r(_svCLASHSrvHostName.c_str(), &entry, buffer.data(), buffer.size(), &found,
                  &resolverError);
  // Only "host not found" refuses: a resolver that cannot answer now must
  // not block an installation on a machine without name service.
  if (!found && resolverError == HOST_NOT_FOUND) {
    Trace("\nClash Server is unknown KO");
    if (c->Refused(page, page->ERRMSGTextToDisplayForCLASHSRV_UNKNOWN,
                   page->Frame->EditorCLASHSRVHostName))
      return;
  }
  Trace("\nClash Server is known OK");
  if (_nvCLASHOrbixPort < 1000) {
    Trace("\nOrbix port number is invalid KO");
    if (c->Refused(page, page->ERRMSGTextToDisplayForCLASHSRV_BADPORT,
                   page->Frame->EditorCLASHSRVOrbixPort))
      return;
  }
  Trace("\nOrbix port number is valid OK");
  c->_DlgSUM->SetSummary();
  c->_DlgSUM->SetVisibility(QelDlgObject::Shown);
  page->SetVisibility(QelDlgObject::Hidden);
}
