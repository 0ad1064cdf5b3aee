// Turning the DBMSs' queries and expressions into SQLite: identifiers are
// folded and quoted, the tables named after FROM and JOIN become catalogue
// views or markers of the sandbox's tables and views (made into SQL when the
// statement runs), and the dialects' special registers, sequence references
// and functions get their SQLite forms.
#include <set>

#include "SandboxSession.h"

namespace qelsandbox {

namespace {

// Words passed to SQLite as they are.
const std::set<std::string>& Keywords() {
  static const std::set<std::string> words = {
      "SELECT", "DISTINCT", "ALL",    "AS",    "WHERE",     "AND",     "OR",        "NOT",
      "NULL",   "IS",       "IN",     "LIKE",  "ESCAPE",    "BETWEEN", "EXISTS",    "GROUP",
      "BY",     "ORDER",    "HAVING", "ASC",   "DESC",      "UNION",   "INTERSECT", "EXCEPT",
      "CASE",   "WHEN",     "THEN",   "ELSE",  "END",       "ON",      "INNER",     "LEFT",
      "RIGHT",  "OUTER",    "FULL",   "CROSS", "NATURAL",   "USING",   "VALUES",    "SET",
      "CAST",   "LIMIT",    "OFFSET", "WITH",  "RECURSIVE", "NULLS",   "FIRST",     "LAST"};
  return words;
}

// Words that end a FROM list or stand after a table instead of an alias.
const std::set<std::string>& ClauseWords() {
  static const std::set<std::string> words = {
      "WHERE", "GROUP", "ORDER", "HAVING", "UNION", "INTERSECT", "EXCEPT", "MINUS",
      "ON",    "JOIN",  "INNER", "LEFT",   "RIGHT", "FULL",      "CROSS",  "NATURAL",
      "OUTER", "FETCH", "FOR",   "WITH",   "USING", "LIMIT",     "SET",    "CONNECT",
      "START", "WHEN",  "THEN",  "ELSE",   "END",   "AND",       "OR",     "OFFSET"};
  return words;
}

std::string FunctionName(Dialect dialect, const std::string& name) {
  if (name == "NVL" || (dialect == Dialect::Db2 && name == "VALUE")) return "IFNULL";
  if (name == "UCASE") return "UPPER";
  if (name == "LCASE") return "LOWER";
  if (name == "SUBSTRING") return "SUBSTR";
  if (name == "CEILING") return "CEIL";
  return name;
}

}  // namespace

std::string Session::Translate(Parser& parser, std::size_t end) {
  std::string out;
  const auto emit = [&out](const std::string& text) {
    if (!out.empty()) out += ' ';
    out += text;
  };
  while (parser.Position() < end && !parser.AtEnd()) {
    const Token& token = parser.Peek();
    if (token.kind == TokenKind::String) {
      emit(StringLiteral(parser.Next().text));
      continue;
    }
    if (token.kind == TokenKind::Number) {
      emit(parser.Next().text);
      continue;
    }
    if (token.kind == TokenKind::Symbol) {
      emit(token.text == "!=" ? "<>" : token.text);
      parser.Next();
      continue;
    }
    if (token.kind == TokenKind::Quoted) {
      emit(QuoteIdentifier(parser.Next().text));
      continue;
    }
    const std::string word = token.Upper();
    if (word == "FROM") {
      parser.Next();
      emit("FROM");
      emit(TranslateTableReference(parser, end));
      while (parser.Position() < end && parser.AcceptSymbol(",")) {
        out += ",";
        emit(TranslateTableReference(parser, end));
      }
    } else if (word == "JOIN") {
      parser.Next();
      emit("JOIN " + TranslateTableReference(parser, end));
    } else if (word == "MINUS") {
      parser.Next();
      emit("EXCEPT");
    } else if (word == "SYSDATE" || word == "SYSTIMESTAMP" || word == "CURRENT_TIMESTAMP") {
      parser.Next();
      emit("CURRENT_TIMESTAMP");
    } else if (word == "CURRENT" && (parser.PeekWord("TIMESTAMP", 1) ||
                                     parser.PeekWord("DATE", 1) || parser.PeekWord("TIME", 1))) {
      parser.Next();
      emit("CURRENT_" + parser.Next().Upper());
    } else if ((word == "USER" || word == "CURRENT_USER") && !parser.Peek(1).IsSymbol("(") &&
               !parser.Peek(1).IsSymbol(".")) {
      parser.Next();
      emit(StringLiteral(user_));
    } else if (word == "CURRENT" && (parser.PeekWord("USER", 1) || parser.PeekWord("SCHEMA", 1))) {
      parser.Next();
      emit(StringLiteral(parser.Next().IsWord("USER") ? user_ : schema_));
    } else if (dialect_ == Dialect::Db2 && (parser.AcceptSequence({"NEXT", "VALUE", "FOR"}) ||
                                            parser.AcceptSequence({"NEXTVAL", "FOR"}))) {
      emit(std::to_string(NextSequenceValue(parser.Name(schema_), true)));
    } else if (dialect_ == Dialect::Db2 && (parser.AcceptSequence({"PREVIOUS", "VALUE", "FOR"}) ||
                                            parser.AcceptSequence({"PREVVAL", "FOR"}))) {
      emit(std::to_string(NextSequenceValue(parser.Name(schema_), false)));
    } else if (dialect_ == Dialect::Oracle && parser.Peek(1).IsSymbol(".") &&
               (parser.PeekWord("NEXTVAL", 2) || parser.PeekWord("CURRVAL", 2) ||
                (parser.Peek(3).IsSymbol(".") &&
                 (parser.PeekWord("NEXTVAL", 4) || parser.PeekWord("CURRVAL", 4))))) {
      QualifiedName named{schema_, parser.Identifier()};
      parser.ExpectSymbol(".");
      if (parser.Peek(1).IsSymbol(".")) {
        named.schema = named.name;
        named.name = parser.Identifier();
        parser.ExpectSymbol(".");
      }
      const bool next = parser.Next().IsWord("NEXTVAL");
      emit(std::to_string(NextSequenceValue(named, next)));
    } else if (word == "FETCH" && parser.PeekWord("FIRST", 1)) {
      parser.Next();
      parser.Next();
      const std::string count = parser.Peek().kind == TokenKind::Number ? parser.Next().text : "1";
      if (!parser.Accept("ROWS")) parser.Expect("ROW");
      parser.Expect("ONLY");
      emit("LIMIT " + count);
    } else if (dialect_ == Dialect::Db2 && word == "WITH" &&
               (parser.PeekWord("UR", 1) || parser.PeekWord("CS", 1) || parser.PeekWord("RS", 1) ||
                parser.PeekWord("RR", 1))) {
      // Isolation clauses: the sandbox always reads committed data.
      parser.Next();
      parser.Next();
    } else if (parser.Peek(1).IsSymbol("(") && !Keywords().count(word)) {
      parser.Next();
      emit(FunctionName(dialect_, word));
    } else if (Keywords().count(word)) {
      parser.Next();
      emit(word);
    } else {
      parser.Next();
      emit(QuoteIdentifier(word));
    }
  }
  return out;
}

std::string Session::TranslateTableReference(Parser& parser, std::size_t end) {
  std::string text;
  std::string alias;
  if (parser.Peek().IsSymbol("(")) {
    const std::size_t close = parser.ClosingParenthesis();
    parser.Next();
    text = "(" + Translate(parser, close) + ")";
    parser.ExpectSymbol(")");
  } else {
    const bool qualified = parser.Peek(1).IsSymbol(".");
    const QualifiedName name = parser.Name(schema_);
    text = RelationSql(name, qualified, "SELECT");
    alias = name.name;
  }
  if (parser.Position() < end) {
    const Token& next = parser.Peek();
    if (parser.Accept("AS")) {
      alias = parser.Identifier();
    } else if (next.kind == TokenKind::Quoted ||
               (next.kind == TokenKind::Word && !ClauseWords().count(next.Upper()))) {
      alias = parser.Identifier();
    }
  }
  return alias.empty() ? text : text + " AS " + QuoteIdentifier(alias);
}

std::string Session::RelationSql(const QualifiedName& name, bool qualified,
                                 const std::string& privilege) {
  if (const std::optional<std::string> view = CatalogueViewSql(name, qualified)) {
    return "(" + *view + ")";
  }
  return RelationMarker(ResolveRelation(name, qualified, privilege).id);
}

}  // namespace qelsandbox
