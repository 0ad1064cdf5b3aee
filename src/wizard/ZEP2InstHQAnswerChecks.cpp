// The refusal, on its page, of an answer the chosen DBMS cannot take in a
// statement: the engine writes names without quotes and passwords between
// double quotes, and an answer that does not fit is never sent.
#include <string>

#include "app/ZEP2InstHQ.h"
#include "pages/ZEP2PagePattern.h"
#include "platform/QelLog.h"
#include "platform/QelMsgCatalog.h"
#include "platform/db/QelDbDialect.h"

namespace {

constexpr const char* Catalogue = "ZEP2DbAnswers";

const char* RefusalKey(QelDbRefusal refusal) {
  switch (refusal) {
    case QelDbRefusal::Empty:
      return "REFUSEDEmpty.Title";
    case QelDbRefusal::TooLong:
      return "REFUSEDTooLong.Title";
    case QelDbRefusal::FirstCharacter:
      return "REFUSEDFirstCharacter.Title";
    case QelDbRefusal::Character:
      return "REFUSEDCharacter.Title";
    case QelDbRefusal::DoubleQuote:
      return "REFUSEDDoubleQuote.Title";
    case QelDbRefusal::ControlCharacter:
      return "REFUSEDControlCharacter.Title";
    case QelDbRefusal::Reserved:
      return "REFUSEDReserved.Title";
    case QelDbRefusal::None:
      break;
  }
  return "";
}

// What %3 stands for in the refusal's text.
std::string Limit(QelDbRefusal refusal, const QelDbDialect& dialect, std::size_t maxLength) {
  if (refusal == QelDbRefusal::TooLong) return std::to_string(maxLength);
  if (refusal == QelDbRefusal::Reserved) return std::string(dialect.ReservedPrefix());
  std::string characters;
  for (const char c : dialect.NameCharacters()) {
    characters += (characters.empty() ? "" : " ") + std::string(1, c);
  }
  return characters;
}

}  // namespace

bool ZEP2InstHQ::RefusedForDBMS(ZEP2PageDialog* page, QelDbRefusal refusal, const char* subject,
                                int dbms, AnswerKind kind) {
  if (refusal == QelDbRefusal::None) return false;
  const QelDbDialect& dialect = QelDbDialect::For(dbms);
  const std::size_t maxLength =
      kind == AnswerKind::Tablespace ? dialect.MaxTablespaceName() : dialect.MaxUserName();
  QelListValQelUnicodeString parameters;
  parameters.Append(QelMsgCatalog::BuildMessage(Catalogue, std::string(subject) + ".Title",
                                                QelListValQelUnicodeString(), subject));
  parameters.Append(QelDbName(dbms));
  parameters.Append(Limit(refusal, dialect, maxLength));
  const QelUnicodeString text =
      QelMsgCatalog::BuildMessage(Catalogue, RefusalKey(refusal), parameters, RefusalKey(refusal));
  WriteTraceLogFile("\nINPUT ERROR: " + text, 1);
  return Refused(page, text);
}
