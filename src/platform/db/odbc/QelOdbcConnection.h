// The layer's one driver path: a session opened through the unixODBC driver
// manager, with autocommit off so that the engine decides every commit.
// DB2's CLI driver, Oracle's ODBC driver and the sandbox's own driver all
// come in here alike.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "QelOdbcHandle.h"
#include "platform/db/QelDb.h"
#include "platform/db/QelDbDialect.h"

// The diagnostic records of handle after a failed call, the cause first.
std::vector<QelDbDiagnostic> QelOdbcDiagnostics(const QelOdbcHandle& handle);

class QelOdbcConnection : public QelDbConnection {
 public:
  // Connects with connectionString (which may hold a password: it is never
  // written anywhere); nullptr with the driver's error when it fails.
  static std::unique_ptr<QelOdbcConnection> Open(int dbms, const std::string& connectionString,
                                                 QelDbError& error);
  ~QelOdbcConnection() override;

  int Close() override;
  bool IsOpen() const override { return connected_; }
  int Execute(const std::string& statement, QelDbError& error) override;
  int Commit(QelDbError& error) override;
  int ExecuteCommitted(const std::string& statement, QelDbError& error) override;
  int Query(const std::string& statement, std::vector<QelDbRow>& rows, QelDbError& error) override;

 private:
  QelOdbcConnection(int dbms, QelOdbcHandle connection);
  // error from the handle's diagnostics (or a text of ours when the driver
  // left none); returns its code.
  int Failed(const QelOdbcHandle& handle, const char* call, QelDbError& error) const;
  // Runs statement on the kept statement handle; returns its code.
  int Run(const std::string& statement, QelDbError& error);
  // Switches the driver's autocommit when it is not already so.
  int SetAutocommit(bool on, QelDbError& error);

  QelOdbcHandle connection_;
  // Execute's statement handle, allocated at the first statement and freed
  // before the session ends (a disconnection frees it behind our back).
  QelOdbcHandle statement_;
  bool connected_ = true;
  // The session runs with autocommit off, but a statement committed alone
  // runs with it on: a driver that opens a transaction for the statement
  // and commits it later makes two round trips of one.
  bool autocommit_ = false;
  // Work executed since the last commit, which autocommit must not take.
  bool pending_ = false;
};

// A value inside a connection string: braced when it holds a character the
// string's syntax gives a meaning to, a closing brace doubled inside.
std::string QelOdbcAttributeValue(const std::string& value);
