// The statements built from answers, run on the sandbox DBMS: a hostile
// value either stays one value (the user connects with exactly the password
// given, the data file lands at exactly the path given) or gives no
// statement at all; never a clause of its own.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "SandboxDbmsTestSite.h"
#include "engine/ZEP2UserStatements.h"
#include "platform/db/QelDbDialect.h"
#include "platform/db/QelDbSecrets.h"
#include "platform/db/odbc/QelOdbcConnection.h"

namespace {

using Strings = std::vector<std::string>;

const Strings HostileValues = {
    "it's",      "back\\slash\\", "semi;colon", "dash -- dash",
    "/* open",   "$(id)",         "`id`",       "a'); DROP USER SYSTEM --",
    "pw' || 'x", "tab-free ü é"};

TEST_F(SandboxDbmsTest, HostilePasswordsStayOnePasswordAndConnect) {
  const ZEP2UserStatements statements(QelDbOracle, "USERS", "USERS");
  int n = 0;
  for (const std::string& password : HostileValues) {
    const std::string user = "APP" + std::to_string(++n);
    const std::optional<ZEP2Statement> create = statements.CreateUser(user, password);
    ASSERT_TRUE(create) << password;
    EXPECT_EQ(QelDbMaskPasswords(create->text).str().find(password), std::string::npos);
    EXPECT_EQ(create->undo.str(), "DROP USER " + user + " CASCADE");
    const std::optional<ZEP2Grant> grant = statements.Grant(ZEP2Grantee::SchemaOwner, user);
    ASSERT_TRUE(grant);
    {
      auto oracle = Oracle();
      ASSERT_EQ("", Run(oracle, create->text.str())) << create->text.str();
      ASSERT_EQ("", Run(oracle, grant->text.str()));
      const std::optional<QelUnicodeString> alter = statements.AlterUserPassword(user, password);
      ASSERT_TRUE(alter);
      ASSERT_EQ("", Run(oracle, alter->str()));
      EXPECT_EQ(
          (Strings{"USERS"}),
          Rows(oracle, "SELECT DEFAULT_TABLESPACE FROM DBA_USERS WHERE USERNAME = '" + user + "'"));
    }
    EXPECT_EQ(0, Oracle(user, password).result) << password;
    EXPECT_NE(0, Oracle(user, password + "x").result) << password;
  }
  auto oracle = Oracle();
  Strings expected = {"SYS", "SYSTEM"};
  for (int i = 1; i <= n; ++i) expected.push_back("APP" + std::to_string(i));
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(expected, Rows(oracle, "SELECT USERNAME FROM DBA_USERS ORDER BY 1"))
      << "no statement but the intended ones ran";
}

TEST_F(SandboxDbmsTest, WhatTheDbmsCannotTakeGivesNoStatement) {
  const ZEP2UserStatements oracle(QelDbOracle, "USERS", "USERS");
  EXPECT_FALSE(oracle.CreateUser("APP", "pw\" DEFAULT TABLESPACE SYSTEM --"));
  EXPECT_FALSE(oracle.AlterUserPassword("APP", "a\"b"));
  EXPECT_FALSE(oracle.CreateUser("APP", "line\nbreak"));
  EXPECT_FALSE(oracle.CreateUser("APP", ""));
  for (const char* name : {"APP IDENTIFIED BY x", "APP;", "A\"B", "9APP", "APP-X", "", "ÄPP",
                           "ABCDEFGHIJKLMNOPQRSTUVWXYZ12345"}) {
    EXPECT_FALSE(oracle.CreateUser(name, "secret")) << name;
    EXPECT_FALSE(oracle.Grant(ZEP2Grantee::Administrator, name)) << name;
    EXPECT_FALSE(oracle.AlterUserExternally(name)) << name;
    EXPECT_FALSE(oracle.CreateTablespace(name, Site(), false)) << name;
  }
  EXPECT_FALSE(ZEP2UserStatements(QelDbOracle, "TBS\"X", "USERS").AlterUserTablespaces("APP"));
  EXPECT_FALSE(oracle.CreateTablespace("TBS", Site() + "/new\nline", false));
  EXPECT_FALSE(ZEP2UserStatements(QelDbDB2, "", "").CreateTablespace("SYSPDM", Site(), false))
      << "DB2 keeps SYS names";
  EXPECT_FALSE(
      ZEP2UserStatements(QelDbDB2, "", "").CreateTablespace("ABCDEFGHIJKLMNOPQRS", Site(), false))
      << "DB2 tablespace names have at most 18 characters";
}

TEST_F(SandboxDbmsTest, DataFilePathsStayOnePath) {
  int n = 0;
  for (const std::string& hostile :
       {std::string("o'brien"), std::string("semi;colon -- x"), std::string("$(id) /* y")}) {
    const std::string directory = Site() + "/" + hostile;
    std::filesystem::create_directories(directory);
    const std::string name = "TBS" + std::to_string(++n);
    for (const int dbms : {QelDbOracle, QelDbDB2}) {
      const std::optional<ZEP2Statement> create =
          ZEP2UserStatements(dbms, "", "").CreateTablespace(name, directory, false);
      ASSERT_TRUE(create);
      auto on = dbms == QelDbDB2 ? Db2() : Oracle();
      ASSERT_EQ("", Run(on, create->text.str())) << create->text.str();
      Commit(on);
      EXPECT_TRUE(std::filesystem::exists(directory + "/" + name + ".dbf")) << create->text.str();
      ASSERT_EQ("", Run(on, create->undo.str()));
      Commit(on);
      EXPECT_FALSE(std::filesystem::exists(directory + "/" + name + ".dbf"));
    }
  }
}

// The rollback takes back exactly what a grant gave: its privileges are read
// from the grant's own text, whatever its spacing.
TEST(UserStatements, GrantsCarryThePrivilegesTheirUndoTakesBack) {
  const ZEP2UserStatements oracle(QelDbOracle, "TBS", "BLOB");
  const std::optional<ZEP2Grant> owner = oracle.Grant(ZEP2Grantee::SchemaOwner, "PDM");
  ASSERT_TRUE(owner);
  EXPECT_EQ(owner->text.str(),
            "GRANT CONNECT,RESOURCE, SELECT ANY TABLE, CREATE ANY VIEW, DROP ANY VIEW TO PDM");
  EXPECT_EQ(owner->privileges, (Strings{"CONNECT", "RESOURCE", "SELECT ANY TABLE",
                                        "CREATE ANY VIEW", "DROP ANY VIEW"}));
  const std::optional<ZEP2Grant> administrator = oracle.Grant(ZEP2Grantee::Administrator, "ADM");
  ASSERT_TRUE(administrator);
  EXPECT_EQ(administrator->privileges.size(), 8u);
  EXPECT_EQ(administrator->privileges[3], "CREATE USER");
  EXPECT_NE(administrator->text.str().find(" TO ADM WITH ADMIN OPTION"), std::string::npos);
  const std::optional<ZEP2Grant> db2 =
      ZEP2UserStatements(QelDbDB2, "", "").Grant(ZEP2Grantee::Administrator, "ADM");
  ASSERT_TRUE(db2);
  EXPECT_EQ(db2->privileges, (Strings{"DBADM", "CONNECT", "CREATETAB"}));
  EXPECT_EQ(ZEP2UserStatements(QelDbDB2, "", "").Revoke({"DBADM", "CONNECT"}, "ADM")->str(),
            "REVOKE DBADM, CONNECT ON DATABASE FROM USER ADM");
  EXPECT_EQ(oracle.Revoke(owner->privileges, "PDM")->str(),
            "REVOKE CONNECT, RESOURCE, SELECT ANY TABLE, CREATE ANY VIEW, DROP ANY VIEW FROM PDM");
  EXPECT_EQ(oracle.AlterUserTablespaces("PDM")->str(),
            "ALTER USER PDM DEFAULT TABLESPACE \"TBS\" QUOTA UNLIMITED ON \"TBS\" QUOTA UNLIMITED "
            "ON \"BLOB\"");
  EXPECT_EQ(oracle.RestoreUser("PDM", true, "USERS", {{"TBS", "-1"}, {"BLOB", "0"}})->str(),
            "ALTER USER PDM IDENTIFIED EXTERNALLY DEFAULT TABLESPACE \"USERS\" QUOTA UNLIMITED ON "
            "\"TBS\" QUOTA 0 ON \"BLOB\"");
  EXPECT_FALSE(oracle.RestoreUser("PDM", false, "", {{"TBS", "1 ON SYSTEM"}}))
      << "a quota from the catalogue is a number";
}

// A doubled quote inside a quoted password is part of the secret.
TEST(UserStatements, TheMaskCoversTheWholePassword) {
  EXPECT_EQ(
      QelDbMaskPasswords("ALTER USER X IDENTIFIED BY \"a\"\" b\"\"\" DEFAULT TABLESPACE \"T\"")
          .str(),
      "ALTER USER X IDENTIFIED BY \"***\" DEFAULT TABLESPACE \"T\"");
  EXPECT_EQ(QelDbMaskPasswords("CREATE USER X IDENTIFIED BY \"unterminated ; --").str(),
            "CREATE USER X IDENTIFIED BY \"***\"");
}

}  // namespace

namespace {

// Drivers prefix their messages with bracketed tags and not every driver
// puts the DBMS's code into the text: the pages show it in the DBMS's form.
TEST(DbDialect, DriverDiagnosticsReadAsTheDbmsWritesThem) {
  const QelDbDialect& db2 = QelDbDialect::For(QelDbDB2);
  const QelDbDialect& oracle = QelDbDialect::For(QelDbOracle);
  QelDbError error =
      db2.Error({"42710", -601,
                 "[IBM][CLI Driver][DB2/LINUXX8664] SQL0601N  The name of the object "
                 "to be created is identical.  SQLSTATE=42710"});
  EXPECT_EQ(error.code, -601);
  EXPECT_EQ(error.message.rfind("SQL0601N  The name", 0), 0u) << error.message;
  EXPECT_EQ(error.sqlstate, "42710");
  error = db2.Error({"08001", -30082, "[drv] password missing"});
  EXPECT_EQ(error.message, "SQL30082N  password missing  SQLSTATE=08001");
  error = oracle.Error({"HY000", 1920, "[Oracle][ODBC][Ora]ORA-01920: user name 'X' conflicts"});
  EXPECT_EQ(error.code, -1920);
  EXPECT_EQ(error.message, "ORA-01920: user name 'X' conflicts");
  EXPECT_EQ(oracle.Error({"28000", 1017, "invalid username/password; logon denied"}).message,
            "ORA-01017: invalid username/password; logon denied");
  error = oracle.Error({"IM002", 0, "[unixODBC][Driver Manager]Data source name not found"});
  EXPECT_EQ(error.code, -1);
  EXPECT_EQ(error.message, "IM002: Data source name not found");
}

TEST(DbDialect, ConnectionStringValuesCannotAddAttributes) {
  EXPECT_EQ(QelOdbcAttributeValue("PDMDB"), "PDMDB");
  EXPECT_EQ(QelOdbcAttributeValue("pw;UID=sys"), "{pw;UID=sys}");
  EXPECT_EQ(QelOdbcAttributeValue("a}b{"), "{a}}b{}");
  EXPECT_EQ(QelOdbcAttributeValue(""), "{}");
}

}  // namespace

namespace {

// The engine branches on what an error means, not on its number: the same
// condition reads the same from a code and from a message.
TEST(DbDialect, CodesAndMessagesClassifyAlike) {
  const QelDbDialect& db2 = QelDbDialect::For(QelDbDB2);
  const QelDbDialect& oracle = QelDbDialect::For(QelDbOracle);
  EXPECT_EQ(db2.Classify(-30082), QelDbCondition::WrongPassword);
  EXPECT_EQ(oracle.Classify(-1017), QelDbCondition::WrongPassword);
  EXPECT_EQ(db2.Classify(-1013), QelDbCondition::UnknownDatabase);
  EXPECT_EQ(oracle.Classify(-12154), QelDbCondition::UnknownDatabase);
  EXPECT_EQ(db2.Classify(-601), QelDbCondition::ObjectExists);
  EXPECT_EQ(oracle.Classify(-1920), QelDbCondition::ObjectExists);
  EXPECT_EQ(db2.Classify(-551), QelDbCondition::NoPrivilege);
  EXPECT_EQ(oracle.Classify(-1031), QelDbCondition::NoPrivilege);
  EXPECT_EQ(oracle.Classify(-1013), QelDbCondition::Other) << "a DB2 number means nothing here";
  EXPECT_EQ(db2.ClassifyMessage("SQL0204N  \"X\" is an undefined name.  SQLSTATE=42704"),
            QelDbCondition::ObjectMissing);
  EXPECT_EQ(oracle.ClassifyMessage("ORA-01918: user 'X' does not exist"),
            QelDbCondition::ObjectMissing);
  EXPECT_EQ(db2.ClassifyMessage("ORA-01918: user 'X' does not exist"), QelDbCondition::Other);
  EXPECT_EQ(oracle.ClassifyMessage("ORA-: nothing"), QelDbCondition::Other);
  EXPECT_EQ(db2.TableExistsQuery("PDM", "T'X"),
            "SELECT 1 FROM SYSCAT.TABLES WHERE TABSCHEMA = 'PDM' AND TABNAME = 'T''X' AND TYPE = "
            "'T'");
}

}  // namespace
