// The PDM services' connection to their tables through the database layer,
// and the one place their failures are recorded and logged.
#include "PdmConnection.h"

#include <array>

#include "platform/QelLog.h"
#include "platform/db/QelZepDDLFile.h"
#include "platform/pdm/ZEPServices.h"

namespace pdm {

namespace {

using MessageBuffer = std::array<char, QelDbMessageSize>;

int Failed(Failure& failure, int code, const MessageBuffer& message) {
  failure = {code ? code : -1, message.data()};
  return failure.code;
}

}  // namespace

std::string& LastMessage() {
  static std::string message;
  return message;
}

int Report(const char* service, const Failure& failure, bool log) {
  LastMessage() = failure.message;
  if (log) {
    const QelUnicodeString line = "\n" + QelUnicodeString(service) + ": " + failure.message + "\n";
    WriteErrLogFile(line);
    WriteTraceLogFile(line, 2);
  }
  return failure.code;
}

void ClearReport() {
  LastMessage().clear();
}

std::string Literal(std::string_view text) {
  std::string quoted = "'";
  for (const char c : text) {
    quoted += c;
    if (c == '\'') quoted += '\'';
  }
  return quoted + "'";
}

std::unique_ptr<Connection> Connection::Open(const Target& target, const std::string& user,
                                             const std::string& password, Failure& failure) {
  auto opened = std::make_unique<Connection>(target, user);
  int errorCode = 0;
  MessageBuffer message{};
  if (GetDBConnection(1, 1, target.dbms, target.database, user, password, opened->connection_,
                      opened->cursor_, errorCode, message.data()) != 0) {
    Failed(failure, errorCode, message);
    return nullptr;
  }
  failure = {};
  return opened;
}

int Connection::Execute(const std::string& statement, Failure& failure) {
  int errorCode = 0;
  MessageBuffer message{};
  if (ExeSQLStatement(cursor_.get(), target_.dbms, 0, nullptr, QelSqlType::DataChange, statement,
                      static_cast<int>(statement.size()), errorCode, message.data()) != 0) {
    return Failed(failure, errorCode, message);
  }
  return 0;
}

int Connection::Query(const std::string& statement, std::vector<QelDbRow>& rows, Failure& failure) {
  rows.clear();
  QelDbError error;
  if (!connection_ || connection_->Query(statement, rows, error) != 0) {
    failure = {error.code ? error.code : -1,
               connection_ ? error.message : std::string("not connected")};
    return failure.code;
  }
  return 0;
}

int Connection::Commit(Failure& failure) {
  int errorCode = 0;
  MessageBuffer message{};
  if (CommitStatement(connection_.get(), target_.dbms, 0, 0, errorCode, message.data()) != 0) {
    return Failed(failure, errorCode, message);
  }
  return 0;
}

void Connection::Rollback() {
  Failure ignored;
  Execute("ROLLBACK", ignored);
}

void Connection::Close() {
  // Closing ends the session, and with it any work left uncommitted.
  if (cursor_) cursor_->Close();
  if (connection_) connection_->Close();
  cursor_.reset();
  connection_.reset();
}

std::string Connection::Object(const std::string& name) const {
  return target_.schema + "." + name;
}

std::string Connection::NextValue(const std::string& sequence) const {
  return target_.dbms == QelDbDB2 ? "NEXT VALUE FOR " + Object(sequence)
                                  : Object(sequence) + ".NEXTVAL";
}

std::string Connection::Now() const {
  return target_.dbms == QelDbDB2 ? "CURRENT TIMESTAMP" : "SYSTIMESTAMP";
}

}  // namespace pdm

const std::string& ZEPServicesLastMessage() {
  return pdm::LastMessage();
}
