// Reading a modeler's DDL files and deciding whether it is installed.
#include "ZEP2PersModeler.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "app/ZEP2InstHQ.h"
#include "platform/QelLog.h"

namespace {

using H = ZEP2InstHQ;

void Trace(const char* label, const QelUnicodeString& value) {
  WriteTraceLogFile(label + value + ">", 1);
}

// The table of a "schema.table (" statement: 0 and the name, -2 without a
// dot, -3 without an opening parenthesis after it.
int FirstTableName(const std::string& text, QelUnicodeString& table) {
  const std::size_t dot = text.find('.');
  if (dot == std::string::npos) return -2;
  const std::size_t parenthesis = text.find('(', dot);
  if (parenthesis == std::string::npos) return -3;
  table = QelUnicodeString(text.substr(dot + 1, parenthesis - dot - 1))
              .ToUpper()
              .Strip(QelUnicodeString::Both, ' ')
              .Strip(QelUnicodeString::Both, '"');
  return 0;
}

}  // namespace

ZEP2PersModeler::ZEP2PersModeler(QelUnicodeString modelerName, QelUnicodeString productName,
                                 QelUnicodeString productVersion, QelUnicodeString ddlRepository,
                                 QelUnicodeString schemaOwner, QelUnicodeString ownerPassword,
                                 QelUnicodeString database, int db2, int oracle,
                                 int clientAuthentication, int serverAuthentication, int local,
                                 int remote, QelUnicodeString tablespace,
                                 QelUnicodeString blobTablespace)
    : _ModelerName(std::move(modelerName)),
      _ProductName(std::move(productName)),
      _ProductVersion(std::move(productVersion)),
      _DDLRepository(std::move(ddlRepository)),
      _SchemaOwner(std::move(schemaOwner)),
      _OwnerPassword(std::move(ownerPassword)),
      _Database(std::move(database)),
      _DB2(db2),
      _Oracle(oracle),
      _AUTHClient(clientAuthentication),
      _AUTHServer(serverAuthentication),
      _Local(local),
      _Remote(remote),
      _Tablespace(std::move(tablespace)),
      _BLOBTablespace(std::move(blobTablespace)),
      _Constructed(1) {
  GenDDLFileList();
}

int ZEP2PersModeler::GenDDLFileList() {
  _DDLFileColl = std::make_unique<QelListPtr<QelZepDDLFile>>();
  _GrantFileColl = std::make_unique<QelListPtr<QelZepDDLFile>>();
  _NbrOfStatements = 0;
  _NbrOfGrantStatements = 0;

  const QelUnicodeString base =
      _ModelerName.Compare("VAULTFILE") == 2 ? _ProductName + "_" + _ModelerName : _ModelerName;
  const QelUnicodeString extension = _DB2 ? ".clp" : _Oracle ? ".sql" : "";
  const QelUnicodeString names[] = {base, "custo_" + base, "insert_" + base, "grant_" + base};
  const char* nameLabels[] = {"\nDDLFileName              : <", "\ncusto_DDLFileName        : <",
                              "\ninsert_DDLFileName       : <", "\ngrant_DDLFileName        : <"};
  const char* pathLabels[] = {
      "\nDDLFilePathName              : <", "\ncusto_DDLFilePathName        : <",
      "\ninsert_DDLFilePathName       : <", "\ngrant_DDLFilePathName        : <"};
  QelUnicodeString paths[4];
  for (int i = 0; i < 4; ++i) {
    paths[i] = _DDLRepository + "/" + names[i] + extension;
    Trace(nameLabels[i], names[i]);
  }
  for (int i = 0; i < 4; ++i) Trace(pathLabels[i], paths[i]);

  if (H::_nvEXEDBObj) {
    WriteTraceLogFile("\nEXEDBObj ON.", 1);
    for (const QelUnicodeString& path : paths)
      _NbrOfStatements += ReadDDLFile(path, _DDLFileColl.get());
    _NbrOfGrantStatements = ReadDDLFile(paths[3], _GrantFileColl.get());
  } else {
    WriteTraceLogFile("\nEXEDBObj OFF.", 1);
  }
  _NbrOfDDLFiles = _DDLFileColl->Size();
  Trace("\nNbrOfDDLFiles                 : <", QelUnicodeString::FromInt(_NbrOfDDLFiles));
  Trace("\nNbrOfStatementToExecute       : <", QelUnicodeString::FromInt(_NbrOfStatements));
  Trace("\nNbrOfGrantStatementToExecute  : <", QelUnicodeString::FromInt(_NbrOfGrantStatements));
  return 0;
}

int ZEP2PersModeler::ReadDDLFile(QelUnicodeString path, QelListPtr<QelZepDDLFile>* list) {
  std::ifstream file(path.str(), std::ios::binary);
  if (!file) {
    WriteTraceLogFile("\nFile " + path + " not found !!!", 1);
    return 0;
  }
  // The repository is read whole: a regular file into a string of its size
  // at once, anything else (a pipe, a directory) in blocks, as far as it
  // reads.
  std::string content;
  std::error_code error;
  if (const std::uintmax_t size = std::filesystem::file_size(path.str(), error); !error) {
    content.resize(size);
    file.read(content.data(), static_cast<std::streamsize>(size));
    content.resize(static_cast<std::size_t>(file.gcount()));
  } else {
    std::ostringstream buffer;
    buffer << file.rdbuf();
    content = std::move(buffer).str();
  }
  auto parsed = std::make_unique<QelZepDDLFile>(content.data(), content.size(), path);
  const int statements = parsed->GetSQLOrderColl().Size();
  if (statements > 0) list->Append(std::move(parsed));
  return statements;
}

int ZEP2PersModeler::IsModelerAlreadyInstalled(QelUnicodeString schema) {
  Trace("\nModeler Name: <", _ModelerName);
  const int dbms = _DB2 ? QelDbDB2 : QelDbOracle;
  if (!_DDLFileColl || _DDLFileColl->Size() < 1) return 0;

  const QelListPtr<QelZepSQLOrder>& orders = (*_DDLFileColl)(1)->GetSQLOrderColl();
  int position = 1;
  while (position <= orders.Size() && orders(position)->GetType() != QelSqlType::CreateTable) {
    ++position;
  }
  WriteTraceLogFile("\nCompteur i : " + QelUnicodeString::FromInt(position), 1);
  if (position > orders.Size()) return 0;

  QelUnicodeString table;
  const int parsed = FirstTableName(orders(position)->GetText().str(), table);
  if (parsed != 0) return parsed;
  if (table.Compare("") == 2 || !H::_nvEXECINDB) return 0;

  std::unique_ptr<QelDbConnection> connection;
  std::unique_ptr<QelDbCursor> cursor;
  const QelUnicodeString database = dbms == QelDbDB2 ? H::_svDB2ALIASNAME : H::_svORASRVNAME;
  const int connected = H::GenDBConnection(database, H::_svDBAUSER.ToUpper(), H::_svDBAUSERP, 1, 1,
                                           connection, cursor);
  if (connected != 0) return connected;
  int found = 0;
  const int result = IsTableInDB(cursor.get(), connection.get(), dbms, schema, table, found,
                                 H::_nvDBErrorCode, H::_svDBErrorMsg);
  WriteTraceLogFile("\nRCIsModelerAlreadyInstalled: " + QelUnicodeString::FromInt(result), 1);
  WriteTraceLogFile("\nIsElemInDB: " + QelUnicodeString::FromInt(found), 1);
  cursor->Close();
  connection->Close();
  // A check that could not be made is no clean database: the caller tells
  // the failure by _nvDBErrorCode.
  return result != 0 ? result : found;
}
