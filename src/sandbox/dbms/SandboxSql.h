// The sandbox DBMS's view of SQL text: tokens, a cursor over them for the
// statement parsers, and the DBMS-style errors both dialects raise.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace qelsandbox {

enum class Dialect { Db2, Oracle };

// An error as the client sees it: the DBMS's code (DB2 SQLCODE, or the ORA
// number negated, so every failure is negative), its message, and the
// SQLSTATE its ODBC driver reports (empty for the sandbox's own failures,
// which no DBMS would raise).
struct SandboxError {
  int code = 0;
  std::string message;
  std::string sqlstate = {};
};

// "SQL0204N  <text>  SQLSTATE=42704" with code -204.
SandboxError Db2Error(int sqlcode, std::string_view text, std::string_view sqlstate = {});
// "ORA-00942: <text>" with code -942 and the SQLSTATE of OracleSqlstate.
SandboxError OraError(int number, std::string_view text);
// The SQLSTATE Oracle's ODBC driver gives with an ORA number; HY000 for a
// number without a class of its own.
std::string OracleSqlstate(int number);
[[noreturn]] void Raise(SandboxError error);

enum class TokenKind { Word, Quoted, String, Number, Symbol, End };

struct Token {
  TokenKind kind = TokenKind::End;
  std::string text;  // words as written, quoted identifiers and strings unescaped
  std::size_t offset = 0;
  // Set on what follows IDENTIFIED BY or USING: never repeated in a message.
  bool secret = false;

  bool IsWord(std::string_view word) const;
  bool IsSymbol(std::string_view symbol) const {
    return kind == TokenKind::Symbol && text == symbol;
  }
  std::string Upper() const;
  // The token as a message may show it.
  std::string Shown() const;
};

// Splits a statement into tokens (comments dropped, a final End token
// appended). An unterminated string or identifier raises the dialect's error.
std::vector<Token> Tokenize(Dialect dialect, std::string_view text);

std::string ToUpper(std::string_view text);
// "name" for SQLite, doubling embedded quotes.
std::string QuoteIdentifier(std::string_view name);
// 'text' for SQLite, doubling embedded apostrophes.
std::string QuoteString(std::string_view text);

struct QualifiedName {
  std::string schema;
  std::string name;
  std::string Shown() const { return schema.empty() ? name : schema + "." + name; }
};

// Walks the tokens of one statement for a hand-written parser.
class Parser {
 public:
  Parser(Dialect dialect, std::vector<Token> tokens);

  Dialect GetDialect() const { return dialect_; }
  const Token& Peek(std::size_t ahead = 0) const;
  const Token& Next();
  bool AtEnd() const { return Peek().kind == TokenKind::End; }
  bool PeekWord(std::string_view word, std::size_t ahead = 0) const {
    return Peek(ahead).IsWord(word);
  }
  bool Accept(std::string_view word);
  bool AcceptSymbol(std::string_view symbol);
  // Accepts the words in order, or consumes nothing.
  bool AcceptSequence(std::initializer_list<std::string_view> words);
  void Expect(std::string_view word);
  void ExpectSymbol(std::string_view symbol);
  void ExpectEnd();

  // An identifier: unquoted ones upper-cased, "quoted" ones kept.
  std::string Identifier();
  // [schema.]name, the schema defaulting to defaultSchema.
  QualifiedName Name(const std::string& defaultSchema);
  std::string StringLiteral();
  long long Integer();
  // A size such as 50M or 500K, in bytes; a bare number counts unit bytes.
  long long Size(long long unit = 1);
  // Skips a balanced parenthesised group (the opening one is next).
  void SkipParenthesised();
  // Position of the parenthesis closing the one that is next.
  std::size_t ClosingParenthesis() const;
  // Position of the next top-level token (outside parentheses) that is one
  // of words or the symbol, or the end.
  std::size_t FindTopLevel(std::initializer_list<std::string_view> words,
                           std::string_view symbol = {}) const;
  std::vector<std::string> IdentifierList();

  std::size_t Position() const { return position_; }
  void Seek(std::size_t position) { position_ = position; }
  const std::vector<Token>& Tokens() const { return tokens_; }

  // The syntax error at the current token.
  [[noreturn]] void Unexpected() const;

 private:
  Dialect dialect_;
  std::vector<Token> tokens_;
  std::size_t position_ = 0;
};

}  // namespace qelsandbox
