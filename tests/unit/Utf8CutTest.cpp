// The one rule for cutting a UTF-8 text to a buffer: never inside a
// character, never more than three bytes back, and the same cut wherever a
// DBMS message or the engine's copy of it is made.
#include <gtest/gtest.h>

#include <string>

#include "app/ZEP2InstHQ.h"
#include "platform/QelUtf8Cut.h"
#include "platform/db/QelDb.h"

namespace {

TEST(Utf8Cut, CutsBeforeACharacterThatWouldNotFitWhole) {
  const std::string e = "\xC3\xA9";             // two bytes
  const std::string euro = "\xE2\x82\xAC";      // three bytes
  const std::string clef = "\xF0\x9D\x84\x9E";  // four bytes
  const struct {
    std::string text;
    std::size_t limit;
    std::size_t cut;
  } cases[] = {
      {"", 0, 0},
      {"abc", 0, 0},
      {"abc", 3, 3},
      {"abc", 10, 3},
      {"abcd", 3, 3},
      {"ab" + e, 3, 2},
      {"ab" + e, 4, 4},
      {"ab" + e + "x", 4, 4},
      {"a" + euro, 2, 1},
      {"a" + euro, 3, 1},
      {"a" + euro + "b", 4, 4},
      {"a" + clef, 2, 1},
      {"a" + clef, 4, 1},
      {"a" + clef + "b", 5, 5},
      {e, 1, 0},
      {clef, 3, 0},
      // Not UTF-8: stray continuation bytes cut nothing short.
      {std::string(10, '\x80'), 6, 6},
      {"ab" + std::string(8, '\xBF'), 2, 2},
      {"ab" + std::string(8, '\xBF'), 5, 5},
      // A lead byte whose sequence is broken off before the cut.
      {"a\xE2\x82" + std::string("bcd"), 2, 1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(QelUtf8CutLength(c.text, c.limit), c.cut)
        << "limit " << c.limit << " on " << c.text.size() << " bytes";
  }
}

TEST(Utf8Cut, TheDbmsMessageAndTheEngineMessageAreCutAlike) {
  // A message one byte too long, whose last character straddles the end.
  std::string text(QelDbMessageSize - 2, 'x');
  text += "\xC3\xA9";
  char message[QelDbMessageSize];
  QelDbSetMessage(message, text);
  EXPECT_EQ(std::string(message), std::string(QelDbMessageSize - 2, 'x'));

  std::string longer(ZEP2InstHQ::DBErrorMsgSize - 3, 'y');
  longer += "\xE2\x82\xAC";
  ZEP2InstHQ::SetDBErrorMsg(longer);
  EXPECT_EQ(std::string(ZEP2InstHQ::_svDBErrorMsg),
            std::string(ZEP2InstHQ::DBErrorMsgSize - 3, 'y'));
  ZEP2InstHQ::SetDBErrorMsg("ORA-01918: user 'X\xC3\xA9' does not exist");
  EXPECT_EQ(std::string(ZEP2InstHQ::_svDBErrorMsg), "ORA-01918: user 'X\xC3\xA9' does not exist");
}

}  // namespace
