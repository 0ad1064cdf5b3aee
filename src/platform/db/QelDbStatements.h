// The engine's access to parsed DDL files: statements and their drops by
// position, the placeholder filter every statement passes before it runs, and
// the quoting of the values the engine writes into statements.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/QelUnicodeString.h"
#include "platform/db/QelZepDDLFile.h"

// Size of the buffer that receives a filtered statement, NUL included.
inline constexpr std::size_t QelStatementBufferSize = 1026;

// Result of FilterSQLStatement for a statement that is not to be played; the
// engine counts it as success.
inline constexpr int QelFilterSkipped = 5;

// Statement at a 1-based position: 0, or -1 for a null file or a position
// out of range (then type 20 and an empty text, so nothing is played).
int GetSQLStatement(int& type, int& length, QelUnicodeString& text, int position,
                    const QelZepDDLFile* file);

// The statement that undoes the one at the position. Position 0 (asked for
// when a rollback steps back past a file's first statement) has nothing to
// undo: type 20, empty text, result 0.
int GetDROPSQLStatement(int& type, int& length, QelUnicodeString& text, int position,
                        const QelZepDDLFile* file);

// Replaces $(ACCOUNT), $(SCHEMA), $(TABLESPACE) and $(BLOB_TABLESPACE); sets
// decision 1 and returns 0, or, for a type-20 statement or an empty result,
// decision -1 and returns QelFilterSkipped. The filtered text is also left in
// the buffer, cut on a UTF-8 character boundary when longer than 1025 bytes.
int FilterSQLStatement(int dbms, const QelUnicodeString& account,
                       const QelUnicodeString& schemaOwner, const QelUnicodeString& schemaOwner2,
                       const QelUnicodeString& tablespace, const QelUnicodeString& blobTablespace,
                       int type, const QelUnicodeString& text, int& length,
                       QelUnicodeString& filtered, int& decision,
                       char (&buffer)[QelStatementBufferSize]);

// The text between two quote characters, each quote inside doubled: a SQL
// string literal with '\'', a delimited name with '"'.
std::string QelQuoted(std::string_view text, char quote);
