// A session of the sandbox DBMS: one user connected to one DB2 database or
// Oracle service, with the DBMS's statements, privileges and transaction
// rules. The statement handlers are spread over files by concern
// (accounts, tablespaces, tables, other objects, data, translation).
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "SandboxSite.h"
#include "SandboxSql.h"
#include "SandboxSqlite.h"

namespace qelsandbox {

using Rows = std::vector<std::vector<std::string>>;

// A statement's result as a client library hands it on: the columns of a
// query (none for any other statement) and its values, NULL apart from
// empty text.
struct ResultSet {
  std::vector<std::string> columns;
  std::vector<std::vector<std::optional<std::string>>> rows;
};

// One entry of the object catalogue.
struct ObjectInfo {
  long long id = 0;
  std::string schema;
  std::string name;
  std::string type;  // TABLE, VIEW, INDEX, SEQUENCE, SYNONYM, ALIAS, TRIGGER, ...
  std::string owner;
  std::string tablespace;
  long long baseId = 0;      // indexes and triggers: their table
  std::string targetSchema;  // synonyms and aliases
  std::string targetName;
  std::string Shown() const { return schema + "." + name; }

  static ObjectInfo Make(std::string schema, std::string name, std::string type, std::string owner,
                         std::string tablespace = {}, long long baseId = 0) {
    ObjectInfo object;
    object.schema = std::move(schema);
    object.name = std::move(name);
    object.type = std::move(type);
    object.owner = std::move(owner);
    object.tablespace = std::move(tablespace);
    object.baseId = baseId;
    return object;
  }
};

struct ColumnInfo {
  std::string name;
  std::string typeName;
  long long length = 0;
  long long scale = 0;
  bool nullable = true;
  std::optional<std::string> defaultValue;  // a SQLite expression
};

// A constraint of a table as declared, before it is stored.
struct ConstraintSpec {
  std::string name;
  std::string kind;  // P primary key, U unique, R foreign key, C check
  std::vector<std::string> columns;
  QualifiedName reference;
  bool qualifiedReference = false;
  std::vector<std::string> referenceColumns;
  std::string deleteRule;
  std::string check;  // a SQLite expression
};

// SQLite's affinity for a column type: NUMERIC, TEXT or BLOB.
std::string ColumnAffinity(const std::string& type);

// A table or view as it stands in translated SQL until the statement runs.
std::string RelationMarker(long long id);
// A string as translated SQL holds it: where the text holds the marker's
// byte, that byte is written char(1), so no value passes for a relation.
std::string StringLiteral(std::string_view text);
// Outside a string no DBMS takes the marker's byte (a control character):
// raises the dialect's invalid character error for a statement that has it.
void RejectMarkerBytes(Dialect dialect, const std::vector<Token>& tokens);

// The temporary table a write on a table works on (SandboxRowStore.cpp).
std::string StageName(long long tableId);

class Session {
  struct OpenKey {
    explicit OpenKey() = default;
  };

 public:
  // Authenticates user on the database and opens the session; raises the
  // DBMS's error (unknown database, wrong password, no CONNECT, ...).
  static std::unique_ptr<Session> Open(const std::string& site, Dialect dialect,
                                       const std::string& database, const std::string& user,
                                       const std::string& password,
                                       const ClientDefaults& defaults = {});
  Session(OpenKey, Dialect dialect, DatabaseLocation location, std::string user);
  ~Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  Dialect GetDialect() const { return dialect_; }
  const std::string& User() const { return user_; }
  bool IsOpen() const { return db_ != nullptr; }

  // Each raises a SandboxError on failure, after undoing the statement.
  void Execute(const std::string& text);
  Rows Query(const std::string& text);
  // Runs any statement; a query's columns and rows come back.
  ResultSet Run(const std::string& text);
  void Commit();
  void Rollback();
  // Ends the session; uncommitted work is rolled back.
  void Close();

 private:
  // Statement flow and transactions (SandboxSession.cpp).
  void Authenticate(const std::string& site, const std::string& account,
                    const std::string& password);
  void Run(const std::string& text, ResultSet* result);
  void RunStatement(Parser& parser, bool writes, ResultSet* result);
  void Dispatch(Parser& parser, ResultSet* result);
  void DispatchCreate(Parser& parser);
  void BeginWork();
  void CommitWork();
  void RollbackWork();
  void SetSchema(Parser& parser);
  SandboxError MapSqlite(const SqliteFailure& failure) const;
  void CreatedContainer(const std::string& path) { createdInStatement_.push_back(path); }
  void RemoveContainerAtCommit(const std::string& path) { removeInStatement_.push_back(path); }
  [[noreturn]] void NotConnected() const;
  // Oracle's sessions: marked at open, unmarked at close (SandboxSession.cpp).
  void MarkSession();
  bool UserHasOtherSessions(const std::string& name) const;

  // Privileges (SandboxPrivileges.cpp).
  std::vector<std::string> Grantees();
  bool IsAdministrator();
  bool HasSystemPrivilege(const std::string& privilege);
  bool HasDatabaseAuthority(const std::string& authority);
  bool HasObjectPrivilege(const ObjectInfo& object, const std::string& privilege);
  bool HasAnyObjectPrivilege(const ObjectInfo& object);
  void RequireSystemPrivilege(const std::string& privilege);
  void RequireCreateIn(const QualifiedName& name, const std::string& type);
  void RequireOwnerOrAny(const ObjectInfo& object, const std::string& action);
  void RequireObjectPrivilege(const ObjectInfo& object, const std::string& privilege);
  [[noreturn]] void Insufficient(const std::string& operation, const std::string& object);

  // The object catalogue (SandboxCatalog.cpp).
  std::string NamespaceOf(const std::string& type) const;
  std::optional<ObjectInfo> FindObject(const QualifiedName& name, const std::string& type);
  std::optional<ObjectInfo> FindObjectById(long long id);
  // A table or view, through synonyms and aliases; checks the privilege.
  ObjectInfo ResolveRelation(const QualifiedName& name, bool qualified,
                             const std::string& privilege);
  std::vector<ColumnInfo> Columns(long long objectId);
  long long AddObject(const ObjectInfo& object, const std::string& columns = {},
                      const std::string& definition = {}, bool unique = false);
  void DropObject(const ObjectInfo& object, bool cascadeConstraints);
  void DropSchemaObjects(const std::string& schema);
  bool UserExists(const std::string& name);
  bool RoleExists(const std::string& name);
  bool TablespaceExists(const std::string& name);
  void RequireTablespace(const std::string& name);
  std::string NewConstraintName();
  [[noreturn]] void Undefined(const std::string& shown) const;
  [[noreturn]] void AlreadyExists(const std::string& shown, const std::string& type) const;

  // Users, roles and grants (SandboxAccounts.cpp, SandboxGrants.cpp).
  void CreateUser(Parser& parser);
  void AlterUser(Parser& parser);
  // Sets each (tablespace, bytes) quota of user, the tablespaces checked.
  void SetQuotas(const std::string& user,
                 const std::vector<std::pair<std::string, long long>>& quotas);
  void DropUser(Parser& parser);
  void CreateRole(Parser& parser);
  void DropRole(Parser& parser);
  void Grant(Parser& parser);
  void Revoke(Parser& parser);
  void GrantDatabaseAuthorities(Parser& parser, const std::vector<std::string>& items, bool grant);
  void GrantSystemPrivileges(Parser& parser, const std::vector<std::string>& items, bool grant);
  void GrantObjectPrivileges(Parser& parser, const std::vector<std::string>& items, bool grant);
  std::vector<std::string> Grantees(Parser& parser);

  // Tablespaces (SandboxTablespaces.cpp).
  void CreateTablespace(Parser& parser);
  void DropTablespace(Parser& parser);
  std::string ContainerPath(const std::string& path) const;

  // Tables (SandboxTables.cpp).
  void CreateTable(Parser& parser);
  void AlterTable(Parser& parser);
  void CommentOn(Parser& parser);
  void Truncate(Parser& parser);
  // The SQLite definition of a table as named by target: its types and
  // constraints, for the copy a write works on.
  std::string DataTableSql(long long id, const std::string& target);
  std::string DataTableSql(long long id, const std::vector<ColumnInfo>& columns,
                           const std::string& target);
  ColumnInfo ParseColumn(Parser& parser, std::vector<ConstraintSpec>& constraints);
  ConstraintSpec ParseTableConstraint(Parser& parser);
  void ParseConstraintBody(Parser& parser, ConstraintSpec& definition);
  std::string ParseDefault(Parser& parser, const std::string& typeName);
  void StoreConstraint(const ObjectInfo& table, ConstraintSpec definition);
  void StoreColumns(long long tableId, const std::vector<ColumnInfo>& columns, int first);
  bool OwnerHasQuota(const std::string& owner, const std::string& tablespace);

  // Rows and relations (SandboxRowStore.cpp). SQLite's cost of creating a
  // table grows with the tables its schema holds, so the sandbox's tables
  // and views live in a fixed set of SQLite tables: creating the last object
  // of a large repository costs what the first one did.
  std::string RowsSql(long long tableId);
  std::string ViewSql(long long viewId, int depth);
  // Replaces the relation markers of translated SQL by their current SQL.
  std::string ExpandRelations(const std::string& sql, int depth = 0);
  bool HasRows(long long tableId);
  // Makes the table's stage, a temporary table with its definition, or
  // empties the one kept.
  void PrepareStage(long long tableId, const std::vector<ColumnInfo>& columns);
  bool ReuseStage(long long tableId, const std::string& definition);
  // Copies a table's rows (the first storedColumns values of each) into its
  // stage, row numbers as rowids.
  void StageRows(long long tableId, std::size_t storedColumns);
  // Runs an INSERT on the empty stage, checks the new rows' keys against the
  // stored rows and stores them after those.
  void InsertStaged(const std::string& sql, long long tableId);
  void CheckStoredKeys(long long tableId, const std::vector<ColumnInfo>& columns);
  // Writes the stage's rows back, row numbers offset, replacing the table's
  // rows or added to them.
  void StoreStagedRows(long long tableId, const std::vector<ColumnInfo>& columns, bool replace,
                       long long offset);

  // Indexes, views, sequences, synonyms, routines, drops (SandboxObjects.cpp).
  void CreateIndex(Parser& parser, bool unique);
  void CreateView(Parser& parser, bool orReplace);
  void CreateSequence(Parser& parser);
  void CreateSynonym(Parser& parser, bool isPublic, bool orReplace);
  void CreateRoutine(Parser& parser, const std::string& type, bool orReplace);
  void Drop(Parser& parser);
  long long NextSequenceValue(const QualifiedName& name, bool advance);

  // Data statements and SQL translation (SandboxData.cpp, SandboxTranslate.cpp).
  void Insert(Parser& parser);
  void Update(Parser& parser);
  void Delete(Parser& parser);
  ResultSet Select(Parser& parser);
  // Translates tokens from the parser's position up to end into SQLite SQL,
  // resolving the tables named after FROM and JOIN.
  std::string Translate(Parser& parser, std::size_t end);
  std::string TranslateTableReference(Parser& parser, std::size_t end);
  std::string RelationSql(const QualifiedName& name, bool qualified, const std::string& privilege);
  std::optional<std::string> CatalogueViewSql(const QualifiedName& name, bool qualified);
  // Runs a write on the stage of table's rows and stores them: the new rows
  // only (inserts) or all of them.
  void RunData(const std::string& sql, const ObjectInfo& table, bool inserts);
  [[noreturn]] void ConstraintFailure(const SqliteFailure& failure, long long tableId);

  Dialect dialect_;
  DatabaseLocation location_;
  std::string user_;
  // This session's mark in the database's session directory (Oracle), by
  // which DROP USER sees the user's sessions in every process.
  std::string sessionMark_;
  std::string schema_;
  std::unique_ptr<SqliteDatabase> db_;
  std::string statementText_;                     // the statement being run, for stored definitions
  std::map<long long, long long> currentValues_;  // sequence values drawn by this session
  std::vector<std::string> grantees_;             // the user's roles, for the statement being run
  // The stages kept, by table, with the definition each was made with;
  // the last used first.
  std::vector<std::pair<long long, std::string>> stages_;
  bool inTransaction_ = false;
  // Containers made or to be removed by the current statement and by the
  // current transaction: the disk follows the catalogue's commit or rollback.
  std::vector<std::string> createdInStatement_;
  std::vector<std::string> removeInStatement_;
  std::vector<std::string> createdInTransaction_;
  std::vector<std::string> removeAtCommit_;
};

}  // namespace qelsandbox
