// The vault, clash, wait, summary, status and report pages: what they load,
// the widgets the controller reads, their handlers, and the summary itself.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "TempDirectory.h"
#include "app/ZEP2InstHQ.h"
#include "pages/ZEP2DlgCLASHADM.h"
#include "pages/ZEP2DlgCLASHSRV.h"
#include "pages/ZEP2DlgREPORT.h"
#include "pages/ZEP2DlgSTATUS.h"
#include "pages/ZEP2DlgSUM.h"
#include "pages/ZEP2DlgVAULTADM.h"
#include "pages/ZEP2DlgWAIT.h"
#include "platform/QelApplication.h"
#include "platform/QelLog.h"
#include "platform/QelMsgCatalog.h"

namespace {

using H = ZEP2InstHQ;

std::string ShippedCatalogues() {
  return (std::filesystem::path(__FILE__).parent_path() / "../../share/msgcatalog")
      .lexically_normal()
      .string();
}

int Count(const std::string& text, const std::string& what) {
  int count = 0;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
    ++count;
  return count;
}

template <class Page>
std::unique_ptr<ZEP2PageDialog> Built(QelInteractiveApplication* application, const char* name) {
  auto page = std::make_unique<Page>(application, name);
  page->Build();
  return page;
}

struct PageCase {
  const char* page;
  unsigned long style;
  bool buttonsSensitive;
  int dialogKeys;
  int frameKeys;
  int defaultButton;
  int width;
  std::function<std::unique_ptr<ZEP2PageDialog>(QelInteractiveApplication*)> build;
};

const std::vector<PageCase>& AllPages() {
  static const std::vector<PageCase> pages = {
      {"VAULTADM", 0xC2C01, true, 20, 9, QelDlgDialog::CANCELButtonValue, 350,
       [](auto* a) { return Built<ZEP2DlgVAULTADM>(a, "PanelVAULTADM"); }},
      {"CLASHADM", 0xC2C01, true, 21, 9, QelDlgDialog::CANCELButtonValue, 350,
       [](auto* a) { return Built<ZEP2DlgCLASHADM>(a, "PanelCLASHADM"); }},
      {"CLASHSRV", 0xC2C01, true, 10, 8, QelDlgDialog::CANCELButtonValue, 350,
       [](auto* a) { return Built<ZEP2DlgCLASHSRV>(a, "PanelCLASHSRV"); }},
      {"WAIT", 0x44001, true, 8, 5, 0, 350,
       [](auto* a) { return Built<ZEP2DlgWAIT>(a, "PanelWAIT"); }},
      {"SUM", 0xC2C01, true, 57, 3, QelDlgDialog::CANCELButtonValue, 350,
       [](auto* a) { return Built<ZEP2DlgSUM>(a, "PanelSUM"); }},
      {"STATUS", 0x44201, true, 36, 0, QelDlgDialog::APPLYButtonValue, 152,
       [](auto* a) { return Built<ZEP2DlgSTATUS>(a, "PanelSTATUS"); }},
      {"REPORT", 0xC2C01, false, 46, 4, QelDlgDialog::CANCELButtonValue, 350,
       [](auto* a) { return Built<ZEP2DlgREPORT>(a, "PanelREPORT"); }},
  };
  return pages;
}

class Pages : public ::testing::Test {
 protected:
  void SetUp() override {
    H::ResetInstallationParameters();
    std::filesystem::create_directories(directory.File("catalogs"));
    setenv("QelMsgCatalogPath", directory.File("catalogs").c_str(), 1);
    OpenLogFile(directory.File("log").c_str(), 1);
    OpenTraceLogFile(directory.File("trace").c_str(), 1);
  }
  void TearDown() override {
    unsetenv("QelMsgCatalogPath");
    QelCloseLogFiles();
    H::ResetInstallationParameters();
  }
  std::string Trace() const { return ReadWholeFile(directory.File("trace")); }

  TempDirectory directory;
  QelInteractiveApplication application{nullptr, "test"};
};

TEST_F(Pages, WithoutCataloguesEveryPageBuildsHiddenAndTracesEachKeyOnce) {
  for (const PageCase& c : AllPages()) {
    SCOPED_TRACE(c.page);
    const auto page = c.build(&application);
    const std::string trace = Trace();
    const std::string dialog = std::string("ZEP2Dlg") + c.page;
    const std::string frame = std::string("ZEP2Frm") + c.page;
    EXPECT_EQ(Count(trace, "\nError on LoadMsgCatalog " + dialog + "!!!"), 1);
    EXPECT_EQ(Count(trace, "\nError on LoadMsgCatalog " + frame + "!!!"), 1);
    EXPECT_EQ(Count(trace, "\nError on GetCatalogMsg " + dialog + " "), c.dialogKeys);
    EXPECT_EQ(Count(trace, "\nError on GetCatalogMsg " + frame + " "), c.frameKeys);
    EXPECT_EQ(page->GetTitle().str(), "");
    EXPECT_FALSE(page->IsVisible());
    EXPECT_EQ(page->GetStyle(), c.style);
    for (auto button : {QelDlgDialog::OK, QelDlgDialog::APPLY, QelDlgDialog::CANCEL})
      EXPECT_EQ(page->IsButtonSensitive(button), c.buttonsSensitive);
    EXPECT_EQ(page->GetDefaultButton(), c.defaultButton);
    EXPECT_EQ(page->GetWidth(), c.width);
    EXPECT_EQ(page->GetHeight(), 545);
    EXPECT_NE(page->FindObject(("PtrZEP2Frm" + std::string(c.page)).c_str()), nullptr);
  }
  const std::string trace = Trace();
  EXPECT_NE(trace.find("\nError on GetCatalogMsg ZEP2FrmSUM FinishButton"), std::string::npos);
  EXPECT_NE(trace.find("\nError on GetCatalogMsg ZEP2FrmCLASHSRV LabelCLASHSRVOrbixPort"),
            std::string::npos);
  // Groups sit between the title and the page's own texts.
  EXPECT_LT(trace.find("ZEP2DlgVAULTADM CANCELNOBUTTON"),
            trace.find("ZEP2DlgVAULTADM CREATEDIRWndTitle"));
  EXPECT_LT(trace.find("ZEP2DlgVAULTADM CREATEDIRNOBUTTON"),
            trace.find("ZEP2DlgVAULTADM ERRMSGWndTitle"));
  EXPECT_LT(trace.find("ZEP2DlgSTATUS ERRMSGOKTitle"), trace.find("ZEP2DlgSTATUS CANCELWndTitle"));
  EXPECT_EQ(trace.find("ZEP2DlgREPORT CANCEL"), std::string::npos);
}

TEST_F(Pages, ShippedCataloguesGiveEveryKeyAText) {
  setenv("QelMsgCatalogPath", ShippedCatalogues().c_str(), 1);
  for (const PageCase& c : AllPages()) {
    const auto page = c.build(&application);
    EXPECT_TRUE(page->GetTitle().str().starts_with("Database Setup - ")) << c.page;
  }
  EXPECT_EQ(Trace().find("Error on"), std::string::npos) << Trace();

  ZEP2DlgSUM summary(&application, "PanelSUM");
  summary.Build();
  for (const QelUnicodeString* caption :
       {&summary.TESADM, &summary.TESDICO, &summary.DBMSTYPE, &summary.AUTHMODE, &summary.DB2LOC,
        &summary.DB2INSTANCE, &summary.DB2ALIASNAME, &summary.ORALOC, &summary.SRVNAME,
        &summary.DBAUSER, &summary.TBSSCENARII})
    EXPECT_TRUE(caption->str().ends_with(": ")) << "a value follows: " << caption->str();

  // Texts the controller builds itself, with a directory, user or schema.
  const struct {
    const char* catalogue;
    const char* key;
    const char* parameter;
  } built[] = {
      {"ZEP2DlgVAULTADM", "CREATEDIRTextToDisplayForCREATEDIR.Title", "/srv/vault"},
      {"ZEP2DlgVAULTADM", "ERRMSGDirCreationFailed.Title", "/srv/vault"},
      {"ZEP2DlgVAULTADM", "ERRMSGDirAccessFailed.Title", "/srv/vault"},
      {"ZEP2DlgVAULTADM", "ERRMSGDirChmodFailed.Title", "/srv/vault"},
      {"ZEP2DlgVAULTADM", "ERRMSGDirChownFailed.Title", "/srv/vault"},
      {"ZEP2DlgCLASHADM", "CREATEDIRTextToDisplayForCREATEDIR.Title", "/srv/clash"},
      {"ZEP2DlgREPORT", "CHOICECRETextToDisplayForCHOICECRE.Title", "ZEPADMIN"},
      {"ZEP2DlgREPORT", "CHOICETMPTextToDisplayForCHOICETMP.Title", "ZEPADMIN"},
      {"ZEP2DlgREPORT", "CHOICEDEFSYSSRVTextToDisplayForCHOICEDEFSYSSRV.Title", "ZEPADMIN"},
      {"ZEP2DlgREPORT", "CHOICEDEFSRVSYSTextToDisplayForCHOICEDEFSRVSYS.Title", "ZEPADMIN"},
      {"ZEP2DlgREPORT", "ERRMSGTextToDisplayForALLRINST.Title", "ZEPADMIN"}};
  for (const auto& text : built) {
    QelListValQelUnicodeString parameters;
    parameters.Append(text.parameter);
    const std::string message =
        QelMsgCatalog::BuildMessage(text.catalogue, text.key, parameters, "").str();
    EXPECT_NE(message.find(text.parameter), std::string::npos) << text.key;
  }
}

TEST_F(Pages, AccountAndDirectoryEditorsFilterAndTrimWhatIsTyped) {
  ZEP2DlgVAULTADM vault(&application, "PanelVAULTADM");
  vault.Build();
  ZEP2FrmVAULTADM& v = *vault.Frame;
  EXPECT_TRUE(v.EditorVAULTADMP->IsPassword());
  EXPECT_FALSE(v.EditorVAULTADM->CommitText("pdm adm"));
  EXPECT_TRUE(v.EditorVAULTRepo->CommitText("/home/pdmadm/TESSARVault//"));
  EXPECT_EQ(v.EditorVAULTRepo->GetText().str(), "/home/pdmadm/TESSARVault");
  EXPECT_TRUE(v.EditorVAULTDaemonPort->CommitText("10000/"));
  EXPECT_EQ(v.EditorVAULTDaemonPort->GetText().str(), "10000/") << "only the repository is a path";

  ZEP2DlgCLASHADM clash(&application, "PanelCLASHADM");
  clash.Build();
  ZEP2FrmCLASHADM& c = *clash.Frame;
  EXPECT_TRUE(c.EditorCLASHADMP->IsPassword());
  c.EditorCLASHOutDir->CommitText("/var/clash/");
  c.EditorCLASHV5InstPath->CommitText("/opt/cad///");
  EXPECT_EQ(c.EditorCLASHOutDir->GetText().str(), "/var/clash");
  EXPECT_EQ(c.EditorCLASHV5InstPath->GetText().str(), "/opt/cad");

  ZEP2DlgCLASHSRV client(&application, "PanelCLASHSRV");
  client.Build();
  QelDlgEditor* port = client.Frame->EditorCLASHSRVOrbixPort;
  EXPECT_TRUE(port->CommitText("15000"));
  EXPECT_FALSE(port->CommitText("150000")) << "five digits at most";
  EXPECT_FALSE(port->CommitText("15x"));
  EXPECT_EQ(port->GetText().str(), "15000");
}

// Every caption of the summary reads "[KEY]", so a line shows which texts
// and values it was made of.
class Summary : public Pages {
 protected:
  void SetUp() override {
    Pages::SetUp();
    std::ofstream catalogue(directory.File("catalogs/ZEP2DlgSUM.cat"));
    std::istringstream keys(
        "TESADM TESDICO OPTOEXE OPTOEXE_ENVFILE OPTOEXE_DBOBJ OPTOEXE_STARTUPDATA OPTOEXE_VAULT "
        "OPTOEXE_CLASHSERVER OPTOEXE_CLASHCLIENT OPTOEXE_SAMPLEDATA DBMSTYPE DBMSTYPE_DB2 "
        "DBMSTYPE_ORACLE AUTHMODE AUTHMODE_CLIENT AUTHMODE_SERVER DB2LOC DB2LOC_LOCAL "
        "DB2LOC_REMOTE DB2INSTANCE DB2ALIASNAME ORALOC ORALOC_LOCAL ORALOC_REMOTE SRVNAME DBAUSER "
        "TBSSCENARII TBSSCENARII_TYPICAL TBSSCENARII_CUSTOM TESDICOP EXEMODE EXEMODE_INDB "
        "EXEMODE_INFILE DB2INSTANCE_HOMDIR DB2DRIVEDIR ORACLE_HOME ORACLE_N32_HOME TNSADMIN "
        "DBAUSERP TBS_EXISTING TBS_NEW TBS_NEWDIR VAULTADM VAULTADMP VAULTPORT VAULTREPO CLASHADM "
        "CLASHADMP CLASHOUTDIR CLASHV5INSTPATH CLASHSRVHOST CLASHORBIXPORT");
    for (std::string key; keys >> key;) catalogue << key << ".Title = [" << key << "]\n";
    catalogue.close();
    page.Build();
    H::_svTESADM = "pdmadm";
    H::_svTESADMP = "adm-secret";
    H::_svTESDICOOwner = "pdmdico";
    H::_svTESDICOOwnerP = "dico-secret";
    H::_nvTBSTypical = 1;
  }
  std::vector<std::string> Lines() const {
    std::vector<std::string> lines;
    for (int line = 1; line <= page.Frame->EditorSUM->GetLineCount(); ++line)
      lines.push_back(page.Frame->EditorSUM->GetLine(line).str());
    return lines;
  }

  ZEP2DlgSUM page{&application, "PanelSUM"};
};

TEST_F(Summary, DB2ServerInstallationListsItsAnswersInOrder) {
  H::_nvEXEDBObj = H::_nvEXEStartupData = H::_nvEXEVault = 1;
  H::_nvEXEClashInst = H::_nvEXEClashServer = 1;
  H::_nvIBMDB2UDB = H::_nvAUTHServer = H::_nvDB2Local = 1;
  H::_svDB2INSTANCE = "db2inst1";
  H::_svDB2INSTANCE_HOMDIR = "/home/db2inst1";
  H::_svDB2ALIASNAME = "PDMDB";
  H::_svDB2DRIVEDir = "/db2data/PDMDB";
  H::_svDBAUSER = "DB2INST1";
  H::_svDBAUSERP = "dba-secret";
  H::_svSELTBSTYPICAL_NOBLOB = H::_svSELTBSTYPICAL_BLOB = "USERSPACE1";
  H::_svVAULTAdm = "vaultadm";
  H::_svVAULTAdmP = "vault-secret";
  H::_svVAULTSrvDaemonPort = "12345";
  H::_svVAULTRepository = "/vault";
  H::_svCLASHAdm = "clashadm";
  H::_svCLASHAdmP = "clash-secret";
  H::_svCLASHOutDir = "/clash/out";
  H::_svCLASHV5InstPath = "/cad";
  page.SetSummary();
  EXPECT_EQ(Lines(), (std::vector<std::string>{"[TESADM]pdmadm",
                                               "[TESDICO]pdmdico",
                                               "[OPTOEXE]",
                                               "[OPTOEXE_ENVFILE]",
                                               "[OPTOEXE_DBOBJ]",
                                               "[OPTOEXE_STARTUPDATA]",
                                               "[OPTOEXE_VAULT]",
                                               "[OPTOEXE_CLASHSERVER]",
                                               "[EXEMODE][EXEMODE_INDB]",
                                               "[DBMSTYPE][DBMSTYPE_DB2]",
                                               "[AUTHMODE][AUTHMODE_SERVER]",
                                               "[DB2LOC][DB2LOC_LOCAL]",
                                               "[DB2INSTANCE]db2inst1",
                                               "[DB2INSTANCE_HOMDIR]/home/db2inst1",
                                               "[DB2ALIASNAME]PDMDB",
                                               "[DB2DRIVEDIR]/db2data/PDMDB",
                                               "[DBAUSER]DB2INST1",
                                               "[DBAUSERP]***",
                                               "[TBSSCENARII][TBSSCENARII_TYPICAL]",
                                               "[TBS_EXISTING]USERSPACE1",
                                               "[VAULTADM]vaultadm",
                                               "[VAULTADMP]***",
                                               "[VAULTPORT]12345",
                                               "[VAULTREPO]/vault",
                                               "[CLASHADM]clashadm",
                                               "[CLASHADMP]***",
                                               "[CLASHOUTDIR]/clash/out",
                                               "[CLASHV5INSTPATH]/cad"}));

  std::string framed;
  for (const std::string& line : Lines()) framed += "\n" + line + "\n";
  EXPECT_EQ(ReadWholeFile(directory.File("log")), framed);
  const std::string trace = Trace();
  const std::size_t begin = trace.find("\n\nZEP2DlgSUM::SetSummary begin ...\n");
  const std::size_t lines = trace.find(framed);
  const std::size_t end = trace.find("\nZEP2DlgSUM::SetSummary end.\n\n");
  ASSERT_NE(lines, std::string::npos);
  EXPECT_LT(begin, lines);
  EXPECT_LT(lines, end);
  EXPECT_NE(end, std::string::npos);
  for (const char* password :
       {"adm-secret", "dico-secret", "dba-secret", "vault-secret", "clash-secret"})
    EXPECT_EQ((ReadWholeFile(directory.File("log")) + trace).find(password), std::string::npos);
}

TEST_F(Summary, OracleClientRewritesTheSummaryAndClashLinesFollowTheFlags) {
  H::_nvEXEDBObj = H::_nvEXEClashInst = H::_nvEXEClashServer = 1;
  H::_nvIBMDB2UDB = H::_nvDB2Local = 1;
  page.SetSummary();

  H::ResetInstallationParameters();
  H::_svTESADM = "pdmadm";
  H::_svTESDICOOwner = "pdmdico";
  H::_nvEXEClashInst = 1;
  H::_nvEXESampleData = 1;
  H::_nvOracle = H::_nvAUTHClient = H::_nvORARemote = H::_nvTBSCustom = 1;
  H::_nvEXEDBObj = H::_nvGENDDLONLY = 1;
  H::_svDDLFILEPATH = "/ddl";
  H::_svDDLFILENAME = "pdm.sql";
  H::_svORASRVNAME = "PDMSRV";
  H::_svORACLE_HOME = "/oracle";
  H::_nvORATNS_ADMIN = 1;
  H::_svORATNS_ADMIN = "/oracle/tns";
  H::_svDBAUSER = "SYSTEM";
  H::_svCLASHSrvHostName = "clashhost";
  H::_nvCLASHOrbixPort = 1570;
  page.SetSummary();
  EXPECT_EQ(Lines(), (std::vector<std::string>{"[TESADM]pdmadm",
                                               "[TESDICO]pdmdico",
                                               "[TESDICOP]***",
                                               "[OPTOEXE]",
                                               "[OPTOEXE_ENVFILE]",
                                               "[OPTOEXE_DBOBJ]",
                                               "[OPTOEXE_CLASHCLIENT]",
                                               "[OPTOEXE_SAMPLEDATA]",
                                               "[EXEMODE][EXEMODE_INFILE]/ddl/pdm.sql",
                                               "[DBMSTYPE][DBMSTYPE_ORACLE]",
                                               "[AUTHMODE][AUTHMODE_CLIENT]",
                                               "[ORALOC][ORALOC_REMOTE]",
                                               "[SRVNAME]PDMSRV",
                                               "[ORACLE_HOME]/oracle",
                                               "[TNSADMIN]/oracle/tns",
                                               "[DBAUSER]SYSTEM",
                                               "[DBAUSERP]***",
                                               "[TBSSCENARII][TBSSCENARII_CUSTOM]",
                                               "[CLASHSRVHOST]clashhost",
                                               "[CLASHORBIXPORT]1570"}));

  // Clash off and sample data no longer pending: neither line.
  H::_nvEXEClashInst = 0;
  H::_nvEXEClashServer = 1;
  H::_nvEXESampleDataActiv = 0;
  page.SetSummary();
  for (const std::string& line : Lines()) {
    EXPECT_EQ(line.find("CLASH"), std::string::npos) << line;
    EXPECT_EQ(line.find("SAMPLEDATA"), std::string::npos) << line;
  }
  EXPECT_EQ(Lines().size(), 16u);
}

}  // namespace
