// The sandbox DBMS's reading of SQL text: tokens of both dialects, secret
// words, sizes and parentheses, and the syntax errors it reports.
#include <gtest/gtest.h>

#include "sandbox/dbms/SandboxSql.h"

namespace {

using qelsandbox::Dialect;
using qelsandbox::Parser;
using qelsandbox::SandboxError;
using qelsandbox::Token;
using qelsandbox::Tokenize;
using qelsandbox::TokenKind;

std::string Kinds(const std::vector<Token>& tokens) {
  std::string kinds;
  for (const Token& token : tokens) {
    kinds += "WQSN.E"[static_cast<int>(token.kind)];
  }
  return kinds;
}

SandboxError ErrorOf(Dialect dialect, const std::string& text, int advance) {
  try {
    Parser parser(dialect, Tokenize(dialect, text));
    for (int i = 0; i < advance; ++i) parser.Next();
    parser.Unexpected();
  } catch (const SandboxError& error) {
    return error;
  }
  return {};
}

TEST(SandboxDbmsParser, TokenizesBothDialects) {
  const std::vector<Token> tokens = Tokenize(Dialect::Oracle,
                                             "INSERT INTO \"My\"\"Tab\" -- comment; 'not a "
                                             "string'\n VALUES ('it''s', 1.5e3, .5) /* x */;");
  EXPECT_EQ("WWQW.S.N.N..E", Kinds(tokens));
  EXPECT_EQ("My\"Tab", tokens[2].text);
  EXPECT_EQ("it's", tokens[5].text);
  EXPECT_EQ("1.5e3", tokens[7].text);
  EXPECT_EQ(".5", tokens[9].text);
  EXPECT_TRUE(tokens[0].IsWord("INSERT"));
  EXPECT_FALSE(tokens[2].IsWord("MY\"TAB"));

  const std::vector<Token> symbols = Tokenize(Dialect::Db2, "a<=b<>c!=d||e>=f");
  ASSERT_EQ(12u, symbols.size());
  EXPECT_EQ("<=", symbols[1].text);
  EXPECT_EQ("<>", symbols[3].text);
  EXPECT_EQ("!=", symbols[5].text);
  EXPECT_EQ("||", symbols[7].text);
  EXPECT_EQ(">=", symbols[9].text);
}

TEST(SandboxDbmsParser, PasswordsAreSecretWhereverTheyAppear) {
  const std::vector<Token> tokens =
      Tokenize(Dialect::Oracle, "ALTER USER u IDENTIFIED BY \"pw\" QUOTA 1M ON \"pw\"");
  EXPECT_TRUE(tokens[5].secret);
  EXPECT_EQ("***", tokens[5].Shown());
  EXPECT_TRUE(tokens[10].secret);
  EXPECT_FALSE(tokens[2].secret);
  Token quoted;
  quoted.kind = TokenKind::Quoted;
  quoted.text = "QUOTA";
  EXPECT_EQ("\"QUOTA\"", quoted.Shown());
  const std::vector<Token> connect = Tokenize(Dialect::Db2, "CONNECT TO db USER u USING secret");
  EXPECT_TRUE(connect[6].secret);
  EXPECT_FALSE(connect[4].secret);
  const std::vector<Token> tablespace =
      Tokenize(Dialect::Db2, "CREATE TABLESPACE T MANAGED BY SYSTEM USING ('dir')");
  EXPECT_FALSE(tablespace[7].secret);
  EXPECT_FALSE(tablespace[8].secret);

  for (const Dialect dialect : {Dialect::Db2, Dialect::Oracle}) {
    try {
      Tokenize(dialect, "CREATE USER X IDENTIFIED BY \"unterminated secret");
      ADD_FAILURE() << "an unterminated identifier was accepted";
    } catch (const SandboxError& error) {
      EXPECT_EQ(std::string::npos, error.message.find("secret")) << error.message;
      EXPECT_EQ(dialect == Dialect::Db2 ? -10 : -1740, error.code);
    }
  }
}

TEST(SandboxDbmsParser, ReadsSizesNamesAndParentheses) {
  Parser sizes(Dialect::Oracle, Tokenize(Dialect::Oracle, "50M 500K 3 G 7 2"));
  EXPECT_EQ(50LL * 1024 * 1024, sizes.Size());
  EXPECT_EQ(500LL * 1024, sizes.Size());
  EXPECT_EQ(3LL * 1024 * 1024 * 1024, sizes.Size());
  EXPECT_EQ(7 * 4096, sizes.Size(4096));
  EXPECT_EQ(2, sizes.Integer());
  EXPECT_TRUE(sizes.AtEnd());

  Parser names(Dialect::Db2, Tokenize(Dialect::Db2, "zep.\"Mixed\" plain"));
  const qelsandbox::QualifiedName qualified = names.Name("DEFAULT");
  EXPECT_EQ("ZEP", qualified.schema);
  EXPECT_EQ("Mixed", qualified.name);
  EXPECT_EQ("DEFAULT.PLAIN", names.Name("DEFAULT").Shown());

  Parser nested(Dialect::Db2, Tokenize(Dialect::Db2, "(a, (b, c), d) WHERE x"));
  EXPECT_EQ(10u, nested.ClosingParenthesis());
  EXPECT_EQ(11u, nested.FindTopLevel({"WHERE"}));
  EXPECT_EQ(11u, nested.FindTopLevel({"WHERE"}, ","));
  nested.Next();
  EXPECT_EQ(2u, nested.FindTopLevel({}, ","));
  nested.Seek(0);
  nested.SkipParenthesised();
  EXPECT_TRUE(nested.PeekWord("WHERE"));
}

TEST(SandboxDbmsParser, SyntaxErrorsNameTheTokenInTheDbmsWords) {
  EXPECT_EQ(
      "SQL0104N  An unexpected token \"TABEL\" was found following \"CREATE\".  "
      "SQLSTATE=42601",
      ErrorOf(Dialect::Db2, "CREATE TABEL X", 1).message);
  EXPECT_EQ(-104, ErrorOf(Dialect::Db2, "CREATE TABEL X", 1).code);
  EXPECT_EQ(
      "SQL0104N  An unexpected token \"END-OF-STATEMENT\" was found following \"X\".  "
      "SQLSTATE=42601",
      ErrorOf(Dialect::Db2, "DROP TABLE X", 3).message);
  EXPECT_EQ("ORA-00900: invalid SQL statement", ErrorOf(Dialect::Oracle, "SELEKT 1", 0).message);
  EXPECT_EQ("ORA-00921: unexpected end of SQL command",
            ErrorOf(Dialect::Oracle, "DROP TABLE", 2).message);
  EXPECT_EQ("ORA-00922: missing or invalid option at \"***\"",
            ErrorOf(Dialect::Oracle, "CREATE USER U IDENTIFIED BY p", 5).message);
  EXPECT_EQ("ORA-00942: x", qelsandbox::OraError(942, "x").message);
  EXPECT_EQ("SQL30082N  y  SQLSTATE=08001", qelsandbox::Db2Error(30082, "y", "08001").message);
}

}  // namespace
