// The statements the engine builds from the answers (tablespaces, users,
// their authentication and rights), each from one place with what takes it
// back, and every answer written through the DBMS's quoting rules. A value
// the DBMS cannot take gives no statement at all: the pages refuse such
// answers, and the engine never sends a text an answer could have reshaped.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/QelUnicodeString.h"

struct ZEP2Statement {
  QelUnicodeString text;
  QelUnicodeString undo;
};

// A grant and the privileges it gives, read from its own text so that the
// rollback takes back exactly what the grant gave.
struct ZEP2Grant {
  QelUnicodeString text;
  std::vector<std::string> privileges;
};

enum class ZEP2Grantee { Administrator, SchemaOwner };

class ZEP2UserStatements {
 public:
  ZEP2UserStatements(int dbms, const QelUnicodeString& tablespace,
                     const QelUnicodeString& blobTablespace);

  std::optional<ZEP2Statement> CreateTablespace(const QelUnicodeString& name,
                                                const QelUnicodeString& directory, bool blob) const;
  std::optional<ZEP2Statement> CreateUser(const QelUnicodeString& user,
                                          const QelUnicodeString& password) const;
  std::optional<QelUnicodeString> AlterUserPassword(const QelUnicodeString& user,
                                                    const QelUnicodeString& password) const;
  std::optional<QelUnicodeString> AlterUserExternally(const QelUnicodeString& user) const;
  std::optional<QelUnicodeString> AlterUserTablespaces(const QelUnicodeString& user) const;
  std::optional<ZEP2Grant> Grant(ZEP2Grantee grantee, const QelUnicodeString& user) const;

  // What takes a grant back: the privileges the user did not hold before.
  std::optional<QelUnicodeString> Revoke(const std::vector<std::string>& privileges,
                                         const QelUnicodeString& user) const;
  // What puts an Oracle user back as the catalogue showed it: identified by
  // the system or not, its default tablespace, and its quota on each of the
  // tablespaces the run names (an empty quota is none).
  struct Quota {
    std::string tablespace;
    std::string bytes;
  };
  std::optional<QelUnicodeString> RestoreUser(const QelUnicodeString& user, bool external,
                                              const std::string& defaultTablespace,
                                              const std::vector<Quota>& quotas) const;

 private:
  std::optional<std::string> TablespaceClauses() const;
  // "NAME IDENTIFIED BY "password" DEFAULT TABLESPACE ...", what a user
  // created or given a password is told.
  std::optional<std::string> IdentifiedByPassword(const QelUnicodeString& user,
                                                  const QelUnicodeString& password) const;

  int dbms_;
  QelUnicodeString tablespace_;
  QelUnicodeString blobTablespace_;
};
