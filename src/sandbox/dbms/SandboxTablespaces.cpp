// CREATE and DROP TABLESPACE: DB2 directories (SMS), files (DMS) or
// automatic storage, Oracle data files; the containers on disk follow the
// catalogue's commit and rollback.
#include <filesystem>

#include "SandboxContainers.h"
#include "SandboxSession.h"

namespace qelsandbox {

namespace {

struct Container {
  std::string path;
  std::string kind;  // DIRECTORY or FILE
  long long bytes = 0;
  bool autoextend = false;
  bool reuse = false;
};

// Oracle's DEFAULT STORAGE ( INITIAL 10K NEXT 50K ... ): known clauses only.
void StorageClause(Parser& parser) {
  parser.ExpectSymbol("(");
  while (!parser.AcceptSymbol(")")) {
    if (parser.Accept("BUFFER_POOL")) {
      parser.Identifier();
      continue;
    }
    parser.Accept("FREELIST");
    bool known = false;
    for (const char* clause : {"INITIAL", "NEXT", "MINEXTENTS", "MAXEXTENTS", "PCTINCREASE",
                               "FREELISTS", "GROUPS", "OPTIMAL"}) {
      known = known || parser.Accept(clause);
    }
    if (!known) parser.Unexpected();
    if (!parser.Accept("UNLIMITED") && !parser.Accept("NULL")) parser.Size();
  }
}

void OracleFileOptions(Parser& parser, Container& container) {
  while (true) {
    if (parser.Accept("SIZE")) {
      container.bytes = parser.Size();
    } else if (parser.Accept("REUSE")) {
      container.reuse = true;
    } else if (parser.Accept("AUTOEXTEND")) {
      if (parser.Accept("OFF")) continue;
      parser.Expect("ON");
      container.autoextend = true;
      if (parser.Accept("NEXT")) parser.Size();
      if (parser.Accept("MAXSIZE") && !parser.Accept("UNLIMITED")) parser.Size();
    } else {
      return;
    }
  }
}

void OracleTablespaceOptions(Parser& parser) {
  while (!parser.AtEnd()) {
    if (parser.Accept("DEFAULT")) {
      if (!parser.Accept("COMPRESS")) parser.Accept("NOCOMPRESS");
      parser.Expect("STORAGE");
      StorageClause(parser);
    } else if (parser.AcceptSequence({"MINIMUM", "EXTENT"}) || parser.Accept("BLOCKSIZE")) {
      parser.Size();
    } else if (parser.AcceptSequence({"EXTENT", "MANAGEMENT"})) {
      if (parser.Accept("DICTIONARY")) continue;
      parser.Expect("LOCAL");
      if (parser.Accept("UNIFORM")) {
        if (parser.Accept("SIZE")) parser.Size();
      } else {
        parser.Accept("AUTOALLOCATE");
      }
    } else if (parser.AcceptSequence({"SEGMENT", "SPACE", "MANAGEMENT"})) {
      if (!parser.Accept("AUTO")) parser.Expect("MANUAL");
    } else if (!parser.Accept("ONLINE") && !parser.Accept("OFFLINE") && !parser.Accept("LOGGING") &&
               !parser.Accept("NOLOGGING") && !parser.AcceptSequence({"FORCE", "LOGGING"}) &&
               !parser.Accept("PERMANENT")) {
      parser.Unexpected();
    }
  }
}

void Db2TablespaceOptions(Parser& parser) {
  while (!parser.AtEnd()) {
    if (parser.Accept("EXTENTSIZE") || parser.Accept("INITIALSIZE")) {
      parser.Size();
    } else if (parser.Accept("PREFETCHSIZE")) {
      if (!parser.Accept("AUTOMATIC")) parser.Size();
    } else if (parser.Accept("BUFFERPOOL")) {
      parser.Identifier();
    } else if (parser.Accept("OVERHEAD") || parser.Accept("TRANSFERRATE")) {
      parser.Next();
    } else if (parser.AcceptSequence({"DROPPED", "TABLE", "RECOVERY"})) {
      if (!parser.Accept("ON")) parser.Expect("OFF");
    } else if (parser.Accept("AUTORESIZE")) {
      if (!parser.Accept("YES")) parser.Expect("NO");
    } else if (parser.Accept("INCREASESIZE")) {
      parser.Size();
      parser.Accept("PERCENT");
    } else if (parser.Accept("MAXSIZE")) {
      if (!parser.Accept("NONE")) parser.Size();
    } else if (!parser.AcceptSequence({"NO", "FILE", "SYSTEM", "CACHING"}) &&
               !parser.AcceptSequence({"FILE", "SYSTEM", "CACHING"})) {
      parser.Unexpected();
    }
  }
}

}  // namespace

std::string Session::ContainerPath(const std::string& path) const {
  if (!path.empty() && path[0] == '/') return path;
  return location_.containerDirectory + "/" + path;
}

void Session::CreateTablespace(Parser& parser) {
  const bool db2 = dialect_ == Dialect::Db2;
  std::string contents = db2 ? "REGULAR" : "PERMANENT";
  if (db2) {
    if (parser.Accept("LARGE") || parser.Accept("LONG")) {
      contents = "LARGE";
    } else if (parser.AcceptSequence({"SYSTEM", "TEMPORARY"})) {
      contents = "SYSTEM TEMPORARY";
    } else if (parser.AcceptSequence({"USER", "TEMPORARY"})) {
      contents = "USER TEMPORARY";
    } else {
      parser.Accept("REGULAR");
    }
  } else {
    if (!parser.Accept("BIGFILE")) parser.Accept("SMALLFILE");
    if (parser.Accept("TEMPORARY")) contents = "TEMPORARY";
    if (parser.Accept("UNDO")) contents = "UNDO";
  }
  parser.Expect("TABLESPACE");
  const std::string name = parser.Identifier();
  std::vector<Container> containers;
  std::string management = db2 ? "AUTOMATIC" : "FILE";
  if (db2) {
    long long pageSize = 4096;
    if (parser.Accept("IN")) {
      if (!parser.AcceptSequence({"DATABASE", "PARTITION", "GROUP"})) parser.Accept("NODEGROUP");
      parser.Identifier();
    }
    if (parser.Accept("PAGESIZE")) pageSize = parser.Size();
    if (parser.AcceptSequence({"MANAGED", "BY"})) {
      if (parser.Accept("SYSTEM")) {
        management = "SYSTEM";
        parser.Expect("USING");
        parser.ExpectSymbol("(");
        do {
          containers.push_back({ContainerPath(parser.StringLiteral()), "DIRECTORY"});
        } while (parser.AcceptSymbol(","));
        parser.ExpectSymbol(")");
      } else if (parser.Accept("DATABASE")) {
        management = "DATABASE";
        parser.Expect("USING");
        parser.ExpectSymbol("(");
        do {
          if (!parser.Accept("FILE")) parser.Expect("DEVICE");
          const std::string path = ContainerPath(parser.StringLiteral());
          containers.push_back({path, "FILE", parser.Size(pageSize)});
        } while (parser.AcceptSymbol(","));
        parser.ExpectSymbol(")");
      } else {
        if (!parser.AcceptSequence({"AUTOMATIC", "STORAGE"})) parser.Unexpected();
      }
    }
    Db2TablespaceOptions(parser);
    if (management == "AUTOMATIC") {
      containers.push_back({location_.containerDirectory + "/" + name, "DIRECTORY"});
    }
  } else {
    if (!parser.Accept("DATAFILE")) parser.Expect("TEMPFILE");
    do {
      Container container{ContainerPath(parser.StringLiteral()), "FILE", 100LL * 1024 * 1024};
      OracleFileOptions(parser, container);
      containers.push_back(container);
    } while (parser.AcceptSymbol(","));
    OracleTablespaceOptions(parser);
  }
  parser.ExpectEnd();

  RequireSystemPrivilege("CREATE TABLESPACE");
  if (TablespaceExists(name)) {
    if (db2) AlreadyExists(name, "TABLESPACE");
    Raise(OraError(1543, "tablespace '" + name + "' already exists"));
  }
  db_->Prepare(
         "INSERT INTO sbx_tablespaces(name, contents, management, owner, builtin, created) "
         "VALUES (?1, ?2, ?3, ?4, 0, ?5)")
      .Bind(1, name)
      .Bind(2, contents)
      .Bind(3, management)
      .Bind(4, user_)
      .Bind(5, CurrentTimestamp())
      .Step();
  long long position = 1;
  for (const Container& container : containers) {
    SqliteStatement used = db_->Prepare("SELECT 1 FROM sbx_containers WHERE path = ?1");
    used.Bind(1, container.path);
    const bool inUse = used.Step();
    ContainerResult result = ContainerResult::AlreadyExists;
    if (!inUse && container.kind == "DIRECTORY") {
      result = CreateContainerDirectory(container.path);
    } else if (!inUse) {
      if (db2) {
        std::error_code ignored;
        std::filesystem::create_directories(std::filesystem::path(container.path).parent_path(),
                                            ignored);
      }
      result = CreateDataFile(container.path, container.bytes, container.reuse);
    }
    if (result == ContainerResult::Created) CreatedContainer(container.path);
    if (db2 && result == ContainerResult::AlreadyExists) {
      Raise(Db2Error(294, "The container is already in use.", "42730"));
    }
    if (db2 && result == ContainerResult::Failed) {
      Raise(Db2Error(298, "Bad container path.", "428B2"));
    }
    if (!db2 && inUse) {
      Raise(OraError(1537,
                     "cannot add file '" + container.path + "' - file already part of database"));
    }
    if (!db2 && result != ContainerResult::Created) {
      Raise(OraError(1119, "error in creating database file '" + container.path + "'\n" +
                               (result == ContainerResult::AlreadyExists
                                    ? "ORA-27038: created file already exists"
                                    : "ORA-27040: file create error, unable to create file")));
    }
    db_->Prepare(
           "INSERT INTO sbx_containers(tablespace, position, path, kind, bytes, autoextend) "
           "VALUES (?1, ?2, ?3, ?4, ?5, ?6)")
        .Bind(1, name)
        .Bind(2, position++)
        .Bind(3, container.path)
        .Bind(4, container.kind)
        .Bind(5, container.bytes)
        .Bind(6, container.autoextend ? 1LL : 0LL)
        .Step();
  }
}

void Session::DropTablespace(Parser& parser) {
  const bool db2 = dialect_ == Dialect::Db2;
  std::vector<std::string> names{parser.Identifier()};
  bool includingContents = db2;
  bool cascadeConstraints = db2;
  bool keepFiles = false;
  if (db2) {
    while (parser.AcceptSymbol(",")) names.push_back(parser.Identifier());
  } else if (parser.AcceptSequence({"INCLUDING", "CONTENTS"})) {
    includingContents = true;
    if (parser.AcceptSequence({"KEEP", "DATAFILES"})) keepFiles = true;
    parser.AcceptSequence({"AND", "DATAFILES"});
    cascadeConstraints = parser.AcceptSequence({"CASCADE", "CONSTRAINTS"});
  }
  parser.ExpectEnd();
  RequireSystemPrivilege("DROP TABLESPACE");
  for (const std::string& name : names) {
    if (!TablespaceExists(name)) {
      if (db2) Undefined(name);
      Raise(OraError(959, "tablespace '" + name + "' does not exist"));
    }
    if (name == "SYSCATSPACE" || name == "SYSTEM" || name == "SYSAUX") {
      if (db2) {
        Raise(Db2Error(282,
                       "Table space \"" + name + "\" holds the catalogue: it cannot be dropped.",
                       "55024"));
      }
      Raise(OraError(1550, "cannot drop system tablespace"));
    }
    if (!db2) {
      const auto isDefault = [this, &name](const char* key) {
        return db_->QueryText(std::string("SELECT value FROM sbx_database WHERE key = '") + key +
                              "'") == name;
      };
      if (isDefault("default_tablespace")) {
        Raise(OraError(12919, "Can not drop the default permanent tablespace"));
      }
      if (isDefault("temporary_tablespace")) {
        Raise(OraError(12906, "cannot drop default temporary tablespace"));
      }
    }
    SqliteStatement contained = db_->Prepare(
        "SELECT id FROM sbx_objects WHERE tablespace = ?1 OR index_tablespace = ?1 OR "
        "long_tablespace = ?1 ORDER BY CASE type WHEN 'TABLE' THEN 1 ELSE 0 END, id");
    contained.Bind(1, name);
    std::vector<long long> ids;
    while (contained.Step()) ids.push_back(contained.Int(0));
    if (!ids.empty() && !includingContents) {
      Raise(OraError(1549, "tablespace not empty, use INCLUDING CONTENTS option"));
    }
    for (const long long id : ids) {
      if (const std::optional<ObjectInfo> object = FindObjectById(id)) {
        DropObject(*object, cascadeConstraints);
      }
    }
    SqliteStatement paths = db_->Prepare("SELECT path FROM sbx_containers WHERE tablespace = ?1");
    paths.Bind(1, name);
    while (paths.Step()) {
      if (!keepFiles) RemoveContainerAtCommit(paths.Text(0));
    }
    for (const char* statement :
         {"DELETE FROM sbx_containers WHERE tablespace = ?1",
          "DELETE FROM sbx_quotas WHERE tablespace = ?1",
          "UPDATE sbx_users SET default_tablespace = (SELECT value FROM sbx_database WHERE key "
          "= 'default_tablespace') WHERE default_tablespace = ?1",
          "DELETE FROM sbx_tablespaces WHERE name = ?1"}) {
      db_->Prepare(statement).Bind(1, name).Step();
    }
  }
}

}  // namespace qelsandbox
