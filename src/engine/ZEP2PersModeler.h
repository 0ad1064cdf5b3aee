// One modeler to install: its schema owner, database, tablespaces, the
// connection the engine gives it, and its parsed DDL/DML files in playing
// order (base, custo_, insert_, grant_).
#pragma once

#include <memory>

#include "platform/QelList.h"
#include "platform/QelUnicodeString.h"
#include "platform/db/QelDb.h"
#include "platform/db/QelZepDDLFile.h"

class ZEP2PersModeler {
 public:
  ZEP2PersModeler() = default;
  ZEP2PersModeler(QelUnicodeString modelerName, QelUnicodeString productName,
                  QelUnicodeString productVersion, QelUnicodeString ddlRepository,
                  QelUnicodeString schemaOwner, QelUnicodeString ownerPassword,
                  QelUnicodeString database, int db2, int oracle, int clientAuthentication,
                  int serverAuthentication, int local, int remote, QelUnicodeString tablespace,
                  QelUnicodeString blobTablespace);

  // Reads the four files (with database objects requested). -1 when a list
  // cannot be created, else 0.
  int GenDDLFileList();
  // Reads and parses one file into list; its statement count, 0 when the
  // file is missing or holds no statement (then it is not added).
  int ReadDDLFile(QelUnicodeString path, QelListPtr<QelZepDDLFile>* list);
  // 0 when the modeler's first table is not in schema; non-zero otherwise
  // (installed, an unparsable first table, or a failed connection).
  int IsModelerAlreadyInstalled(QelUnicodeString schema);

  QelUnicodeString _ModelerName;
  QelUnicodeString _ProductName;
  QelUnicodeString _ProductVersion;
  QelUnicodeString _DDLRepository;
  QelListValQelUnicodeString _FileNameColl;
  QelUnicodeString _SchemaOwner;
  QelUnicodeString _OwnerPassword;
  QelUnicodeString _Database;
  int _DB2 = 0;
  int _Oracle = 0;
  int _AUTHClient = 0;
  int _AUTHServer = 0;
  int _Local = 0;
  int _Remote = 0;
  QelUnicodeString _Tablespace;
  QelUnicodeString _BLOBTablespace;
  // The owner's own connection (Oracle), shared by the modelers of one owner.
  std::shared_ptr<QelDbConnection> _Connection;
  std::shared_ptr<QelDbCursor> _Cursor;
  std::unique_ptr<QelListPtr<QelZepDDLFile>> _DDLFileColl;
  std::unique_ptr<QelListPtr<QelZepDDLFile>> _GrantFileColl;
  int _NbrOfDDLFiles = 0;
  int _NbrOfStatements = 0;
  int _NbrOfGrantStatements = 0;
  int _Constructed = 0;
};
