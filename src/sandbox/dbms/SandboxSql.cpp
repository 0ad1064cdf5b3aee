// Tokens, the parser cursor and the error texts of the sandbox DBMS.
#include "SandboxSql.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>

namespace qelsandbox {

SandboxError Db2Error(int sqlcode, std::string_view text, std::string_view sqlstate) {
  char prefix[16];
  std::snprintf(prefix, sizeof prefix, "SQL%04dN  ", sqlcode);
  std::string message = prefix;
  message += text;
  if (!sqlstate.empty()) {
    message += "  SQLSTATE=";
    message += sqlstate;
  }
  return {-sqlcode, message, std::string(sqlstate)};
}

SandboxError OraError(int number, std::string_view text) {
  char prefix[16];
  std::snprintf(prefix, sizeof prefix, "ORA-%05d: ", number);
  return {-number, prefix + std::string(text), OracleSqlstate(number)};
}

void Raise(SandboxError error) {
  throw error;
}

std::string ToUpper(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return upper;
}

std::string QuoteIdentifier(std::string_view name) {
  std::string quoted = "\"";
  for (const char c : name) {
    quoted += c;
    if (c == '"') quoted += '"';
  }
  return quoted + "\"";
}

std::string QuoteString(std::string_view text) {
  std::string quoted = "'";
  for (const char c : text) {
    quoted += c;
    if (c == '\'') quoted += '\'';
  }
  return quoted + "'";
}

bool Token::IsWord(std::string_view word) const {
  if (kind != TokenKind::Word || text.size() != word.size()) return false;
  for (std::size_t i = 0; i < word.size(); ++i) {
    if (std::toupper(static_cast<unsigned char>(text[i])) != word[i]) return false;
  }
  return true;
}

std::string Token::Upper() const {
  return ToUpper(text);
}

std::string Token::Shown() const {
  if (secret) return "***";
  switch (kind) {
    case TokenKind::End:
      return "END-OF-STATEMENT";
    case TokenKind::String:
      return QuoteString(text);
    case TokenKind::Quoted:
      return QuoteIdentifier(text);
    default:
      return text;
  }
}

namespace {

bool IsWordStart(unsigned char c) {
  return std::isalpha(c) || c == '_' || c >= 0x80;
}
bool IsWordPart(unsigned char c) {
  return std::isalnum(c) || c == '_' || c == '$' || c == '#' || c >= 0x80;
}

// Reads a delimited run ('...' or "..."), a doubled delimiter standing for
// itself. False when the closing delimiter is missing.
bool ReadDelimited(std::string_view text, std::size_t& i, char delimiter, std::string& out) {
  ++i;
  while (i < text.size()) {
    if (text[i] == delimiter) {
      if (i + 1 < text.size() && text[i + 1] == delimiter) {
        out += delimiter;
        i += 2;
        continue;
      }
      ++i;
      return true;
    }
    out += text[i++];
  }
  return false;
}

// The unterminated text is not quoted back: it may be a password.
[[noreturn]] void Unterminated(Dialect dialect, char delimiter) {
  if (dialect == Dialect::Db2) {
    Raise(Db2Error(10, "A string constant or delimited identifier has no ending delimiter.",
                   "42603"));
  }
  Raise(delimiter == '\'' ? OraError(1756, "quoted string not properly terminated")
                          : OraError(1740, "missing double quote in identifier"));
}

// What follows IDENTIFIED BY (a password) or USING (a password in CONNECT)
// is secret.
void MarkSecrets(std::vector<Token>& tokens) {
  for (std::size_t i = 0; i + 1 < tokens.size(); ++i) {
    const bool afterIdentifiedBy =
        i > 0 && tokens[i - 1].IsWord("IDENTIFIED") && tokens[i].IsWord("BY");
    if (afterIdentifiedBy || (tokens[i].IsWord("USING") && !tokens[i + 1].IsSymbol("("))) {
      if (tokens[i + 1].kind != TokenKind::End) tokens[i + 1].secret = true;
    }
  }
  // A password typed twice is still a password.
  for (const Token& secret : tokens) {
    if (!secret.secret) continue;
    for (Token& token : tokens) {
      if (token.text == secret.text) token.secret = true;
    }
  }
}

}  // namespace

std::vector<Token> Tokenize(Dialect dialect, std::string_view text) {
  std::vector<Token> tokens;
  std::size_t i = 0;
  while (i < text.size()) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (std::isspace(c)) {
      ++i;
    } else if (c == '-' && i + 1 < text.size() && text[i + 1] == '-') {
      while (i < text.size() && text[i] != '\n') ++i;
    } else if (c == '/' && i + 1 < text.size() && text[i + 1] == '*') {
      const std::size_t end = text.find("*/", i + 2);
      i = end == std::string_view::npos ? text.size() : end + 2;
    } else if (c == '\'' || c == '"') {
      Token token{c == '\'' ? TokenKind::String : TokenKind::Quoted, "", i};
      if (!ReadDelimited(text, i, static_cast<char>(c), token.text)) {
        Unterminated(dialect, static_cast<char>(c));
      }
      tokens.push_back(std::move(token));
    } else if (std::isdigit(c) || (c == '.' && i + 1 < text.size() &&
                                   std::isdigit(static_cast<unsigned char>(text[i + 1])))) {
      const std::size_t start = i;
      while (i < text.size() &&
             (std::isdigit(static_cast<unsigned char>(text[i])) || text[i] == '.')) {
        ++i;
      }
      if (i < text.size() && (text[i] == 'E' || text[i] == 'e') && i + 1 < text.size() &&
          (std::isdigit(static_cast<unsigned char>(text[i + 1])) || text[i + 1] == '-' ||
           text[i + 1] == '+')) {
        i += 2;
        while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) ++i;
      }
      tokens.push_back({TokenKind::Number, std::string(text.substr(start, i - start)), start});
    } else if (IsWordStart(c)) {
      const std::size_t start = i;
      while (i < text.size() && IsWordPart(static_cast<unsigned char>(text[i]))) ++i;
      tokens.push_back({TokenKind::Word, std::string(text.substr(start, i - start)), start});
    } else {
      static constexpr std::string_view pairs[] = {"<=", ">=", "<>", "!=", "||", "=>"};
      std::string symbol(1, static_cast<char>(c));
      for (const std::string_view pair : pairs) {
        if (text.substr(i, 2) == pair) symbol = pair;
      }
      tokens.push_back({TokenKind::Symbol, symbol, i});
      i += symbol.size();
    }
  }
  tokens.push_back({TokenKind::End, "", text.size()});
  MarkSecrets(tokens);
  return tokens;
}

Parser::Parser(Dialect dialect, std::vector<Token> tokens)
    : dialect_(dialect), tokens_(std::move(tokens)) {
  if (tokens_.empty() || tokens_.back().kind != TokenKind::End) tokens_.push_back({});
}

const Token& Parser::Peek(std::size_t ahead) const {
  return tokens_[std::min(position_ + ahead, tokens_.size() - 1)];
}

const Token& Parser::Next() {
  const Token& token = Peek();
  if (position_ < tokens_.size() - 1) ++position_;
  return token;
}

bool Parser::Accept(std::string_view word) {
  if (!PeekWord(word)) return false;
  Next();
  return true;
}

bool Parser::AcceptSymbol(std::string_view symbol) {
  if (!Peek().IsSymbol(symbol)) return false;
  Next();
  return true;
}

bool Parser::AcceptSequence(std::initializer_list<std::string_view> words) {
  std::size_t ahead = 0;
  for (const std::string_view word : words) {
    if (!PeekWord(word, ahead++)) return false;
  }
  position_ += words.size();
  return true;
}

void Parser::Expect(std::string_view word) {
  if (!Accept(word)) Unexpected();
}

void Parser::ExpectSymbol(std::string_view symbol) {
  if (!AcceptSymbol(symbol)) Unexpected();
}

void Parser::ExpectEnd() {
  if (!AtEnd()) Unexpected();
}

std::string Parser::Identifier() {
  const Token& token = Peek();
  if (token.kind == TokenKind::Word) return ToUpper(Next().text);
  if (token.kind == TokenKind::Quoted && !token.text.empty()) return Next().text;
  Unexpected();
}

QualifiedName Parser::Name(const std::string& defaultSchema) {
  std::string first = Identifier();
  if (AcceptSymbol(".")) return {std::move(first), Identifier()};
  return {defaultSchema, std::move(first)};
}

std::string Parser::StringLiteral() {
  if (Peek().kind != TokenKind::String) Unexpected();
  return Next().text;
}

long long Parser::Integer() {
  const bool negative = AcceptSymbol("-");
  if (Peek().kind != TokenKind::Number || Peek().text.find_first_of(".eE") != std::string::npos) {
    Unexpected();
  }
  const long long value = std::strtoll(Next().text.c_str(), nullptr, 10);
  return negative ? -value : value;
}

long long Parser::Size(long long unit) {
  long long value = Integer();
  // "50M" lexes as a number then a word; "50 M" means the same.
  const Token& suffix = Peek();
  if (suffix.kind == TokenKind::Word && suffix.text.size() == 1) {
    const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(suffix.text[0])));
    const std::string_view units = "KMGT";
    const std::size_t power = units.find(letter);
    if (power != std::string_view::npos) {
      Next();
      for (std::size_t i = 0; i <= power; ++i) value *= 1024;
      return value;
    }
  }
  return value * unit;
}

void Parser::SkipParenthesised() {
  ExpectSymbol("(");
  int depth = 1;
  while (depth > 0) {
    if (AtEnd()) Unexpected();
    const Token& token = Next();
    if (token.IsSymbol("(")) ++depth;
    if (token.IsSymbol(")")) --depth;
  }
}

std::size_t Parser::ClosingParenthesis() const {
  if (!Peek().IsSymbol("(")) Unexpected();
  int depth = 0;
  for (std::size_t i = position_; i < tokens_.size(); ++i) {
    if (tokens_[i].IsSymbol("(")) ++depth;
    if (tokens_[i].IsSymbol(")") && --depth == 0) return i;
  }
  Parser copy = *this;
  copy.Seek(tokens_.size() - 1);
  copy.Unexpected();
}

std::size_t Parser::FindTopLevel(std::initializer_list<std::string_view> words,
                                 std::string_view symbol) const {
  int depth = 0;
  for (std::size_t i = position_; i < tokens_.size(); ++i) {
    const Token& token = tokens_[i];
    if (token.kind == TokenKind::End) return i;
    if (token.IsSymbol("(")) ++depth;
    if (token.IsSymbol(")")) --depth;
    if (depth > 0) continue;
    if (depth < 0) return i;
    if (!symbol.empty() && token.IsSymbol(symbol)) return i;
    for (const std::string_view word : words) {
      if (token.IsWord(word)) return i;
    }
  }
  return tokens_.size() - 1;
}

std::vector<std::string> Parser::IdentifierList() {
  std::vector<std::string> names;
  ExpectSymbol("(");
  do {
    names.push_back(Identifier());
  } while (AcceptSymbol(","));
  ExpectSymbol(")");
  return names;
}

void Parser::Unexpected() const {
  const Token& token = Peek();
  if (dialect_ == Dialect::Db2) {
    std::string text = "An unexpected token \"" + token.Shown() + "\" was found";
    if (position_ > 0) text += " following \"" + tokens_[position_ - 1].Shown() + "\"";
    Raise(Db2Error(104, text + ".", "42601"));
  }
  if (position_ == 0) Raise(OraError(900, "invalid SQL statement"));
  if (token.kind == TokenKind::End) Raise(OraError(921, "unexpected end of SQL command"));
  Raise(OraError(922, "missing or invalid option at \"" + token.Shown() + "\""));
}

}  // namespace qelsandbox
