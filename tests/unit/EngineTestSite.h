// The engine on a sandbox site: a controller with its pages, the answers a
// wizard run would have given, a small DDL repository, the boxes answered by
// the script display, and the idle chain run one step per pass of the loop.
#pragma once

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "EngineDdlRepository.h"
#include "SandboxDbmsTestSite.h"
#include "app/ZEP2InstApp.h"
#include "app/ZEP2InstHQ.h"
#include "pages/ZEP2MessageBoxes.h"
#include "pages/ZEP2Pages.h"
#include "platform/QelDisplay.h"
#include "platform/QelLog.h"
#include "platform/display/script/ScriptDisplay.h"

class EngineTest : public SandboxDbmsTest {
 protected:
  using H = ZEP2InstHQ;

  void SetUp() override {
    SandboxDbmsTest::SetUp();
    H::ResetInstallationParameters();
    const std::string site = Site();
    environment_.Set("QelUserSettingPath", site + "/settings");
    environment_.Set("QelReffilesPath", site + "/reffiles");
    environment_.Set("TESSARDBSETUP_LOGDIR", site);
    environment_.Set(
        "QelMsgCatalogPath",
        (std::filesystem::path(__FILE__).parent_path() / "../../share/msgcatalog").string());
    // No PDM runtime on this site: the configuration files are passed over
    // and only the database work runs.
    for (const char* name :
         {"QelInstallPath", "QelCommandPath", "QelvarV5_environment_name",
          "QelvarV5_environment_directory", "TESSAR_SINGLE_USER", "TESSARDBSETUP_FAULT_DB_CALL",
          "TESSARDBSETUP_FAULT_FILE_WRITE", "TESSARDBSETUP_FAULT_LOG", "TESSARDBSETUP_TRANSCRIPT",
          "TESSARDBSETUP_RESPONSE_STATE", "TESSARDBSETUP_TRACE_LEVEL", "FATHERPID"}) {
      environment_.Set(name, std::nullopt);
    }
    std::filesystem::create_directories(site + "/tablespaces");
    // The server-setting command St_GenEnvFiles runs, as a stand-in that
    // accepts everything.
    std::filesystem::create_directories(site + "/bin");
    std::ofstream(site + "/bin/LK0ADSRB") << "#!/bin/sh\nexit 0\n";
    std::filesystem::permissions(site + "/bin/LK0ADSRB", std::filesystem::perms::owner_all);
    const char* path = getenv("PATH");
    environment_.Set("PATH", site + "/bin:" + (path ? path : "/usr/bin:/bin"));
    std::filesystem::create_directories(Repository());
    for (const EngineDdlFile& file : EngineDb2Files) WriteDdl(file.name, file.text);
    for (const EngineDdlFile& file : EngineOracleFiles) WriteDdl(file.name, file.text);
    realPause_ = ZEP2FrmSTATUS::Pause;
    ZEP2FrmSTATUS::Pause = [](int) {};
  }

  void TearDown() override {
    ZEP2FrmSTATUS::Pause = realPause_;
    if (controller_) H::ReleaseDBAConnection();
    controller_.reset();
    QelSetDisplay(nullptr);
    QelCloseLogFiles();
    H::ResetInstallationParameters();
  }

  std::string Repository() const { return Site() + "/reffiles/DBMS/ddl"; }
  void WriteDdl(const std::string& name, const std::string& text) const {
    std::ofstream(Repository() + "/" + name) << text;
  }

  // The boxes of the run are answered from these response-file lines.
  void Build(const std::string& answers = "") {
    std::string error;
    auto parsed = ResponseFile::Parse(answers, "engine.rsp", error);
    ASSERT_TRUE(parsed) << error;
    QelSetDisplay(std::make_unique<QelScriptDisplay>(std::move(parsed)));
    controller_ = std::make_unique<H>(&application_, "ZEP2InstHQ", Site() + "/log", Site() + "/err",
                                      Site() + "/trace");
    controller_->Build();
    controller_->_DlgTESADM->SetVisibility(QelDlgObject::Hidden);
  }

  // What the pages of a DB2 or an Oracle run leave: a new typical tablespace,
  // server authentication, everything executed in the database.
  void AnswerDb2() {
    H::_nvIBMDB2UDB = 1;
    H::_nvDB2Local = 1;
    H::_svDB2INSTANCE = "db2inst1";
    H::_svDB2ALIASNAME = "SAMPLE";
    H::_svDBAUSER = "DB2INST1";
    H::_svDBAUSERP = "db2pass";
    H::_svTESDICOOwnerP = "admpass";
    AnswerCommon();
  }
  void AnswerOracle() {
    H::_nvOracle = 1;
    H::_nvORALocal = 1;
    H::_svORASRVNAME = "ORCL";
    H::_svDBAUSER = "SYSTEM";
    H::_svDBAUSERP = "manager";
    H::_svTESDICOOwnerP = "dicopass";
    AnswerCommon();
  }
  void AnswerCommon() {
    H::_svTESADM = "pdmadm";
    H::_svTESADMP = "admpass";
    H::_svTESDICOOwner = "ZEPDICO";
    H::_nvAUTHServer = 1;
    H::_nvAUTHClient = 0;
    H::_nvEXECINDB = 1;
    H::_nvGENDDLONLY = 0;
    H::_nvEXEDBObj = 1;
    H::_nvTBSTypical = 1;
    H::_svSELTBSTYPICAL_NOBLOB = H::DefaultTablespaceEntry();
    H::_svSELTBSTYPICAL_BLOB = H::DefaultTablespaceEntry();
    H::_svCRETBSTYPICAL_NOBLOB = "PDMTBS";
    H::_svCRETBSTYPICAL_BLOB = "PDMTBS";
    H::_svCRETBSTYPICAL_DIR = Site() + "/tablespaces";
  }

  // The DBA page's connection, then the preparation behind the wait page.
  void Prepare() {
    const QelUnicodeString database = H::_nvIBMDB2UDB ? H::_svDB2ALIASNAME : H::_svORASRVNAME;
    ASSERT_EQ(0, H::GenDBConnection(database, H::_svDBAUSER, H::_svDBAUSERP, 1, 1,
                                    H::_nvDBAConnection, H::_nvDBACursor))
        << H::_svDBErrorMsg;
    H::St_GenCustoDDL(controller_.get(), 2, nullptr);
    ASSERT_TRUE(controller_->_DlgSUM->IsVisible());
  }

  // The summary's Next starts the chain; each pass of the loop runs one
  // step until none is subscribed. before(step count so far) runs between
  // two steps, where a person's Cancel or another session would act.
  template <class Between>
  void RunChain(Between before) {
    H::CB_SUM_Next(controller_.get(), nullptr, nullptr);
    for (int calls = 0; application_.HasIdleWork(); ++calls) {
      ASSERT_LT(calls, 10000) << "the chain does not end";
      before(calls);
      application_.RunOnce();
    }
  }
  void RunChain() {
    RunChain([](int) {});
  }

  // The steps the chain ran, in order, a step run n times in a row as
  // "Name*n".
  std::vector<std::string> Steps() const {
    const std::string trace = Trace();
    std::vector<std::string> steps;
    int repeats = 0;
    const auto flush = [&] {
      if (repeats > 1) steps.back() += "*" + std::to_string(repeats);
    };
    const std::string begin = " Begin ...\n";
    for (std::size_t at = trace.find("\n\nSt_"); at != std::string::npos;
         at = trace.find("\n\nSt_", at + 1)) {
      std::size_t end = at + 5;
      while (end < trace.size() && std::isalnum(static_cast<unsigned char>(trace[end]))) ++end;
      if (trace.compare(end, begin.size(), begin) != 0) continue;
      const std::string step = trace.substr(at + 5, end - at - 5);
      // The preparation runs before the chain; the environment script is
      // part of St_GenEnvFiles.
      if (step == "GenCustoDDL" || step == "UpdateBDEnv") continue;
      if (!steps.empty() && repeats > 0 && steps.back() == step) {
        ++repeats;
        continue;
      }
      flush();
      steps.push_back(step);
      repeats = 1;
    }
    flush();
    return steps;
  }

  // The step subscribed last, as the trace names it ("St_PlayDDL").
  std::string NextStep() const {
    const std::string trace = Trace();
    const std::string label = "\nQelSubsribeIdle ";
    const std::size_t at = trace.rfind(label);
    if (at == std::string::npos) return "";
    const std::size_t start = at + label.size();
    std::size_t end = start;
    while (end < trace.size() &&
           (std::isalnum(static_cast<unsigned char>(trace[end])) || trace[end] == '_')) {
      ++end;
    }
    return trace.substr(start, end - start);
  }

  // The texts that follow label in the trace, up to the closing ">".
  std::vector<std::string> Traced(const std::string& label) const {
    const std::string trace = Trace();
    std::vector<std::string> texts;
    for (std::size_t at = trace.find(label); at != std::string::npos;
         at = trace.find(label, at + 1)) {
      const std::size_t start = at + label.size();
      std::size_t end = trace.find(">\n", start);
      if (end == std::string::npos) end = trace.rfind('>');
      texts.push_back(trace.substr(start, end - start));
    }
    return texts;
  }
  std::vector<std::string> Played() const { return Traced("\nSt_PlayDDL  DDL DML Statement : <"); }
  std::vector<std::string> Undone() const {
    return Traced("\nSt_PlayDROPDDL  DDL DML Statement : <");
  }

  std::string Trace() const { return ReadWholeFile(Site() + "/trace"); }
  std::string Log() const { return ReadWholeFile(Site() + "/log"); }
  std::string Report() const {
    return controller_->_DlgREPORT->Frame->EditorREPORT->GetText().str();
  }

  // The journal of this run's database as the file holds it.
  std::vector<std::string> Journal() const {
    const int dbms = H::_nvIBMDB2UDB ? QelDbDB2 : QelDbOracle;
    ZEP2UndoJournal journal(dbms, (H::_nvIBMDB2UDB ? H::_svDB2ALIASNAME : H::_svORASRVNAME).str());
    std::vector<std::string> entries;
    std::string error;
    if (!journal.FileExists()) return entries;
    EXPECT_TRUE(journal.Load(error)) << error;
    while (!journal.Empty()) entries.insert(entries.begin(), journal.TakeLast());
    return entries;
  }

  // What the database holds that an installation may create or change.
  std::vector<std::string> Db2Catalogue() {
    Connection dba = Db2();
    std::vector<std::string> all = Rows(dba, "SELECT TBSPACE FROM SYSCAT.TABLESPACES");
    for (const std::string& row :
         Rows(dba,
              "SELECT TABSCHEMA, TABNAME, TYPE FROM SYSCAT.TABLES WHERE TABSCHEMA = 'ZEPDICO'")) {
      all.push_back(row);
    }
    for (const std::string& row :
         Rows(dba, "SELECT GRANTEE, DBADMAUTH, CREATETABAUTH, CONNECTAUTH FROM SYSCAT.DBAUTH")) {
      all.push_back(row);
    }
    return all;
  }
  std::vector<std::string> OracleCatalogue() {
    Connection dba = Oracle();
    std::vector<std::string> all = Rows(dba, "SELECT TABLESPACE_NAME FROM DBA_TABLESPACES");
    for (const char* query :
         {"SELECT USERNAME, AUTHENTICATION_TYPE, DEFAULT_TABLESPACE FROM DBA_USERS",
          "SELECT OWNER, TABLE_NAME FROM ALL_TABLES WHERE OWNER = 'ZEPDICO'",
          "SELECT GRANTEE, PRIVILEGE FROM DBA_SYS_PRIVS",
          "SELECT GRANTEE, GRANTED_ROLE FROM DBA_ROLE_PRIVS"}) {
      for (const std::string& row : Rows(dba, query)) all.push_back(row);
    }
    return all;
  }

  ZEP2InstApp application_;
  std::unique_ptr<H> controller_;
  ZEP2FrmSTATUS::PauseFunction realPause_ = nullptr;
};
