// Small pieces every page handler file uses: the handler's trace line, the
// emptiness test of an answer, and moving from one page to the next.
#pragma once

#include "platform/QelDialog.h"
#include "platform/QelLog.h"

namespace zep2pages {

inline void Trace(const QelUnicodeString& line) {
  WriteTraceLogFile(line, 1);
}

inline bool Empty(const QelUnicodeString& text) {
  return text.Compare("") == 2;
}

// The next page first, then the current one hidden, as every handler does.
inline void Show(QelDialog* next, QelDialog* current) {
  next->SetVisibility(QelDlgObject::Shown);
  current->SetVisibility(QelDlgObject::Hidden);
}

}  // namespace zep2pages
