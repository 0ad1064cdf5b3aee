// What the PDM services share: where they work, a connection to the PDM
// tables as the administrator, and how a failure reaches the caller.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/db/QelDb.h"

namespace pdm {

// Set by ZEPServicesConfigure; schema owns the PDM tables (upper case).
struct Target {
  int dbms = 0;
  std::string database;
  std::string schema;
};

// The target, or nullptr before the installer configured one.
const Target* CurrentTarget();

struct Failure {
  int code = 0;
  std::string message;
};

// Records the message as the last one; with log set, also writes it to
// the error log and the trace. Returns the failure's code.
int Report(const char* service, const Failure& failure, bool log);
// What ZEPServicesLastMessage gives.
std::string& LastMessage();
// Forgets the last message: the call about to run has not failed yet.
void ClearReport();

// The text as an SQL string literal.
std::string Literal(std::string_view text);

// One connection to the target as one user. Every call returns 0, or the
// DBMS's code with the failure filled in.
class Connection {
 public:
  Connection(Target target, std::string user)
      : target_(std::move(target)), user_(std::move(user)) {}

  static std::unique_ptr<Connection> Open(const Target& target, const std::string& user,
                                          const std::string& password, Failure& failure);

  int Execute(const std::string& statement, Failure& failure);
  int Query(const std::string& statement, std::vector<QelDbRow>& rows, Failure& failure);
  int Commit(Failure& failure);
  // Undoes the work since the last commit; a failure here leaves nothing to
  // keep either, so it is not reported.
  void Rollback();
  void Close();

  // schema.name of a PDM table or sequence.
  std::string Object(const std::string& name) const;
  // The next value of one of the schema's sequences, in the DBMS's syntax.
  std::string NextValue(const std::string& sequence) const;
  // The DBMS's current timestamp.
  std::string Now() const;
  const std::string& User() const { return user_; }
  int Dbms() const { return target_.dbms; }

 private:
  Target target_;
  std::string user_;
  std::unique_ptr<QelDbConnection> connection_;
  std::unique_ptr<QelDbCursor> cursor_;
};

// The connection of the open PDM session, or nullptr.
Connection* SessionConnection();

}  // namespace pdm
