// What an injected database fault looks like to the caller.
#include "QelDb.h"
#include "platform/QelFaultInjection.h"

QelDbError QelDbInjectedFault(int dbms) {
  const std::string reason = QelFaultText(QelFaultKind::DatabaseCall);
  if (dbms == QelDbDB2) {
    return {-901,
            "SQL0901N  The SQL statement or command failed because of a database system "
            "error. (Reason \"" +
                reason + "\".)  SQLSTATE=58004",
            "58004"};
  }
  return {-600, "ORA-00600: internal error code, arguments: [" + reason + "]", "HY000"};
}
