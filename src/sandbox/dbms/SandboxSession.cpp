// Opening a sandbox session (authentication), running statements with each
// DBMS's transaction rules, and turning SQLite failures into DBMS errors.
#include "SandboxSession.h"

#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "SandboxContainers.h"
#include "SandboxIdleConnections.h"
#include "SandboxPasswords.h"
#include "platform/QelAccounts.h"

namespace qelsandbox {

Session::Session(OpenKey, Dialect dialect, DatabaseLocation location, std::string user)
    : dialect_(dialect), location_(std::move(location)), user_(user), schema_(std::move(user)) {}

Session::~Session() {
  Close();
}

std::unique_ptr<Session> Session::Open(const std::string& site, Dialect dialect,
                                       const std::string& database, const std::string& user,
                                       const std::string& password,
                                       const ClientDefaults& defaults) {
  DatabaseLocation location = LocateForClient(site, dialect, database, defaults);
  // Oracle keeps a "quoted" user name as written; both fold the others.
  std::string name = ToUpper(user);
  if (dialect == Dialect::Oracle && user.size() > 2 && user.front() == '"' && user.back() == '"') {
    name = user.substr(1, user.size() - 2);
  }
  auto session = std::make_unique<Session>(OpenKey{}, dialect, std::move(location), name);
  try {
    session->db_ = OpenDatabase(session->location_.file, LockTimeoutMilliseconds());
    session->Authenticate(site, user, password);
    session->grantees_.clear();
    if (dialect == Dialect::Oracle) session->MarkSession();
  } catch (const SqliteFailure& failure) {
    throw session->MapSqlite(failure);
  }
  return session;
}

void Session::Authenticate(const std::string& site, const std::string& account,
                           const std::string& password) {
  if (dialect_ == Dialect::Db2) {
    // DB2 leaves the password to the operating system: the site's accounts.
    // The account name is looked up as given, then in lower case, as the
    // DBMS folds authorisation ids to upper case.
    if (account.empty() || password.empty()) {
      Raise(Db2Error(30082, "Security processing failed with reason \"3\" (\"PASSWORD MISSING\").",
                     "08001"));
    }
    std::optional<std::string> hash = QelLookupPasswordHash(account, site);
    if (!hash) {
      std::string lower = account;
      std::transform(lower.begin(), lower.end(), lower.begin(),
                     [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
      hash = QelLookupPasswordHash(lower, site);
    }
    if (!hash || !VerifyPassword(password, *hash)) {
      Raise(Db2Error(30082,
                     "Security processing failed with reason \"24\" (\"USERNAME AND/OR PASSWORD "
                     "INVALID\").",
                     "08001"));
    }
    if (!HasDatabaseAuthority("CONNECT")) {
      Raise(Db2Error(1060, "User \"" + user_ + "\" does not have the CONNECT privilege.", "08004"));
    }
    return;
  }
  SqliteStatement statement =
      db_->Prepare("SELECT authentication, password_hash, locked FROM sbx_users WHERE name = ?1");
  statement.Bind(1, user_);
  // An unknown user, an external one and a wrong password look the same to
  // the client: nothing tells which names exist.
  if (!statement.Step() || statement.Text(0) != "PASSWORD" ||
      !VerifyPassword(password, statement.Text(1))) {
    Raise(OraError(1017, "invalid username/password; logon denied"));
  }
  if (statement.Int(2) != 0) Raise(OraError(28000, "the account is locked"));
  if (!HasSystemPrivilege("CREATE SESSION")) {
    Raise(OraError(1045, "user " + user_ + " lacks CREATE SESSION privilege; logon denied"));
  }
}

void Session::Execute(const std::string& text) {
  Run(text, nullptr);
}

Rows Session::Query(const std::string& text) {
  ResultSet result;
  Run(text, &result);
  Rows rows;
  rows.reserve(result.rows.size());
  for (auto& values : result.rows) {
    std::vector<std::string>& row = rows.emplace_back();
    row.reserve(values.size());
    for (auto& value : values) row.push_back(value ? std::move(*value) : std::string());
  }
  return rows;
}

ResultSet Session::Run(const std::string& text) {
  ResultSet result;
  Run(text, &result);
  return result;
}

void Session::Commit() {
  if (!db_) NotConnected();
  try {
    CommitWork();
  } catch (const SqliteFailure& failure) {
    throw MapSqlite(failure);
  }
}

void Session::Rollback() {
  if (!db_) NotConnected();
  RollbackWork();
}

void Session::Close() {
  if (!db_) return;
  RollbackWork();
  // Its stages may stay: a session makes each stage afresh before its first use.
  KeepIdleDatabase(location_.file, std::move(db_));
  db_.reset();
  if (!sessionMark_.empty()) {
    std::error_code ignored;
    std::filesystem::remove(sessionMark_, ignored);
    sessionMark_.clear();
  }
}

// A session is a file <database file>.sessions/<USER>.<pid>.<n>: any process
// sees it, and the mark of a process that died without closing is known by
// its pid and ignored, as the DBMS cleans up after a lost client.
void Session::MarkSession() {
  static std::atomic<long> opened{0};
  const std::filesystem::path directory = location_.file + ".sessions";
  std::error_code ignored;
  std::filesystem::create_directories(directory, ignored);
  const std::string mark =
      (directory / (user_ + "." + std::to_string(getpid()) + "." + std::to_string(++opened)))
          .string();
  if (std::ofstream(mark)) sessionMark_ = mark;
}

bool Session::UserHasOtherSessions(const std::string& name) const {
  std::error_code failure;
  const std::filesystem::path directory = location_.file + ".sessions";
  for (const auto& entry : std::filesystem::directory_iterator(directory, failure)) {
    const std::string file = entry.path().filename().string();
    if (entry.path().string() == sessionMark_ || file.rfind(name + ".", 0) != 0) continue;
    const std::string rest = file.substr(name.size() + 1);
    if (rest.find('.') == std::string::npos) continue;
    const pid_t pid = static_cast<pid_t>(std::atol(rest.c_str()));
    if (pid > 0 && (kill(pid, 0) == 0 || errno == EPERM)) return true;
  }
  return false;
}

void Session::NotConnected() const {
  if (dialect_ == Dialect::Db2) {
    Raise(Db2Error(1024, "A database connection does not exist.", "08003"));
  }
  Raise(OraError(3114, "not connected to ORACLE"));
}

void Session::Run(const std::string& text, ResultSet* result) {
  if (!db_) NotConnected();
  statementText_ = text;
  // Grants change between statements, by this session or another one.
  grantees_.clear();
  try {
    Parser parser(dialect_, Tokenize(dialect_, text));
    RejectMarkerBytes(dialect_, parser.Tokens());
    if (parser.Accept("COMMIT") || parser.Accept("ROLLBACK")) {
      const bool commit = parser.Tokens()[0].IsWord("COMMIT");
      parser.Accept("WORK");
      parser.ExpectEnd();
      commit ? CommitWork() : RollbackWork();
      return;
    }
    const Token& first = parser.Peek();
    if (first.IsWord("SELECT") || first.IsWord("WITH") || first.IsWord("VALUES") ||
        (first.IsWord("SET") && dialect_ == Dialect::Db2)) {
      RunStatement(parser, false, result);
    } else if (first.IsWord("INSERT") || first.IsWord("UPDATE") || first.IsWord("DELETE") ||
               dialect_ == Dialect::Db2) {
      RunStatement(parser, true, result);
    } else {
      // Oracle commits before and after every DDL statement, failed or not.
      CommitWork();
      try {
        RunStatement(parser, true, result);
      } catch (...) {
        RollbackWork();
        throw;
      }
      CommitWork();
    }
  } catch (const SqliteFailure& failure) {
    throw MapSqlite(failure);
  }
}

void Session::RunStatement(Parser& parser, bool writes, ResultSet* result) {
  // A unit of work that a failed first statement opened holds nothing worth
  // keeping, only the write lock: it ends with the statement.
  const bool opensWork = writes && !inTransaction_;
  if (writes) BeginWork();
  createdInStatement_.clear();
  removeInStatement_.clear();
  const auto undoStatement = [this] {
    for (auto path = createdInStatement_.rbegin(); path != createdInStatement_.rend(); ++path) {
      RemoveContainer(*path);
    }
    createdInStatement_.clear();
    removeInStatement_.clear();
  };
  try {
    if (inTransaction_) {
      WithSavepoint(*db_, "sbx_statement", [&] { Dispatch(parser, result); });
    } else {
      Dispatch(parser, result);
    }
  } catch (const SqliteFailure& failure) {
    undoStatement();
    // A DB2 lock timeout rolls the whole unit of work back, as its message
    // says; Oracle only undoes the statement.
    if (opensWork || (failure.IsBusy() && dialect_ == Dialect::Db2)) RollbackWork();
    throw MapSqlite(failure);
  } catch (...) {
    undoStatement();
    if (opensWork) RollbackWork();
    throw;
  }
  createdInTransaction_.insert(createdInTransaction_.end(), createdInStatement_.begin(),
                               createdInStatement_.end());
  removeAtCommit_.insert(removeAtCommit_.end(), removeInStatement_.begin(),
                         removeInStatement_.end());
  createdInStatement_.clear();
  removeInStatement_.clear();
}

void Session::BeginWork() {
  if (inTransaction_) return;
  // IMMEDIATE takes the write lock now: a transaction that read first and
  // wrote later could otherwise fail at once instead of waiting its turn.
  db_->Run("BEGIN IMMEDIATE");
  inTransaction_ = true;
}

void Session::CommitWork() {
  if (!inTransaction_) return;
  db_->Run("COMMIT");
  inTransaction_ = false;
  createdInTransaction_.clear();
  for (const std::string& path : removeAtCommit_) RemoveContainer(path);
  removeAtCommit_.clear();
}

void Session::RollbackWork() {
  if (inTransaction_) {
    try {
      db_->Exec("ROLLBACK");
    } catch (const SqliteFailure&) {
      // SQLite has already rolled back after some failures; nothing is left.
    }
  }
  inTransaction_ = false;
  for (auto path = createdInTransaction_.rbegin(); path != createdInTransaction_.rend(); ++path) {
    RemoveContainer(*path);
  }
  createdInTransaction_.clear();
  removeAtCommit_.clear();
}

void Session::Dispatch(Parser& parser, ResultSet* result) {
  if (parser.Accept("CREATE")) return DispatchCreate(parser);
  if (parser.Accept("DROP")) return Drop(parser);
  if (parser.Accept("GRANT")) return Grant(parser);
  if (parser.Accept("REVOKE")) return Revoke(parser);
  if (parser.Accept("COMMENT")) return CommentOn(parser);
  if (parser.Accept("TRUNCATE")) return Truncate(parser);
  if (parser.Accept("INSERT")) return Insert(parser);
  if (parser.Accept("UPDATE")) return Update(parser);
  if (parser.Accept("DELETE")) return Delete(parser);
  if (parser.PeekWord("SELECT") || parser.PeekWord("WITH") || parser.PeekWord("VALUES")) {
    ResultSet selected = Select(parser);
    if (result) *result = std::move(selected);
    return;
  }
  if (parser.PeekWord("SET") && dialect_ == Dialect::Db2) return SetSchema(parser);
  if (parser.Accept("ALTER")) {
    if (parser.PeekWord("USER") && dialect_ == Dialect::Oracle) {
      parser.Next();
      return AlterUser(parser);
    }
    if (parser.Accept("TABLE")) return AlterTable(parser);
    if (parser.PeekWord("SESSION") && dialect_ == Dialect::Oracle) return SetSchema(parser);
  }
  parser.Unexpected();
}

void Session::DispatchCreate(Parser& parser) {
  const bool orReplace = parser.AcceptSequence({"OR", "REPLACE"});
  const bool oracle = dialect_ == Dialect::Oracle;
  if (oracle && parser.Accept("USER")) return CreateUser(parser);
  if (oracle && parser.Accept("ROLE")) return CreateRole(parser);
  if (oracle && parser.AcceptSequence({"PUBLIC", "SYNONYM"})) {
    return CreateSynonym(parser, true, orReplace);
  }
  if (parser.Accept("SYNONYM") || (!oracle && parser.Accept("ALIAS"))) {
    return CreateSynonym(parser, false, orReplace);
  }
  if (parser.AcceptSequence({"UNIQUE", "INDEX"})) return CreateIndex(parser, true);
  if (parser.Accept("INDEX")) return CreateIndex(parser, false);
  if (parser.Accept("TABLE")) return CreateTable(parser);
  if (parser.Accept("VIEW") || (oracle && (parser.AcceptSequence({"FORCE", "VIEW"}) ||
                                           parser.AcceptSequence({"NOFORCE", "VIEW"})))) {
    return CreateView(parser, orReplace);
  }
  if (parser.Accept("SEQUENCE")) return CreateSequence(parser);
  for (const char* type : {"TRIGGER", "PROCEDURE", "FUNCTION", "PACKAGE"}) {
    if (parser.Accept(type)) return CreateRoutine(parser, type, orReplace);
  }
  const std::size_t start = parser.Position();
  while (parser.Peek().kind == TokenKind::Word && !parser.PeekWord("TABLESPACE") &&
         parser.Position() < start + 2) {
    parser.Next();
  }
  if (parser.PeekWord("TABLESPACE")) {
    parser.Seek(start);
    return CreateTablespace(parser);
  }
  parser.Seek(start);
  parser.Unexpected();
}

void Session::SetSchema(Parser& parser) {
  if (dialect_ == Dialect::Db2) {
    parser.Expect("SET");
    parser.Accept("CURRENT");
    parser.Expect("SCHEMA");
    parser.AcceptSymbol("=");
    schema_ =
        parser.Peek().kind == TokenKind::String ? parser.StringLiteral() : parser.Identifier();
  } else {
    parser.Expect("SESSION");
    parser.Expect("SET");
    parser.Expect("CURRENT_SCHEMA");
    parser.ExpectSymbol("=");
    const std::string schema = parser.Identifier();
    if (!UserExists(schema)) Raise(OraError(1435, "user does not exist"));
    schema_ = schema;
  }
  parser.ExpectEnd();
}

SandboxError Session::MapSqlite(const SqliteFailure& failure) const {
  const bool db2 = dialect_ == Dialect::Db2;
  const std::string& message = failure.message;
  const auto after = [&](const std::string& prefix) {
    return message.compare(0, prefix.size(), prefix) == 0 ? message.substr(prefix.size()) : "";
  };
  if (failure.IsBusy()) {
    return db2 ? Db2Error(911,
                          "The current transaction has been rolled back because of a deadlock "
                          "or timeout.  Reason code \"68\".",
                          "40001")
               : OraError(60, "deadlock or lock timeout detected while waiting for resource");
  }
  if (const std::string column = after("no such column: "); !column.empty()) {
    const std::string name =
        column.substr(column.rfind('.') == std::string::npos ? 0 : column.rfind('.') + 1);
    return db2 ? Db2Error(206, "\"" + name + "\" is not valid in the context where it is used.",
                          "42703")
               : OraError(904, "\"" + name + "\": invalid identifier");
  }
  if (const std::string function = after("no such function: "); !function.empty()) {
    return db2 ? Db2Error(440,
                          "No authorized routine named \"" + function +
                              "\" of type \"FUNCTION\" having compatible arguments was found.",
                          "42884")
               : OraError(904, "\"" + function + "\": invalid identifier");
  }
  if (message.find(" values for ") != std::string::npos) {
    return db2 ? Db2Error(117,
                          "The number of values assigned is not the same as the number of "
                          "specified or implied columns.",
                          "42802")
               : OraError(913, "too many or not enough values");
  }
  if (message.find("syntax error") != std::string::npos || message == "incomplete input") {
    return db2 ? Db2Error(104, "An unexpected token was found in the statement.", "42601")
               : OraError(933, "SQL command not properly ended");
  }
  // A view names its tables with its own schema ("main.") in the message.
  if (message.starts_with("no such table: data_") ||
      message.starts_with("no such table: main.data_")) {
    return db2 ? Db2Error(575, "A view cannot be used because one of its tables was dropped.",
                          "51024")
               : OraError(4063, "view has errors: one of its tables was dropped");
  }
  if (message.find("because it is a view") != std::string::npos) {
    return db2 ? Db2Error(150, "The target view of the statement does not allow this operation.",
                          "42807")
               : OraError(1732, "data manipulation operation not legal on this view");
  }
  return db2 ? Db2Error(902, "A system error occurred: " + message + ".", "58005")
             : OraError(600, "internal error code, arguments: [sandbox], [" + message + "]");
}

}  // namespace qelsandbox
