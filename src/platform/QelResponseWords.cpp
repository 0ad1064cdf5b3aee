// The answer word of a box's value, as the script front end reports it and
// the recorder writes it.
#include "QelResponseWords.h"

#include "QelDlgNotify.h"

namespace QelResponseWords {

const char* AnswerOf(const QelDlgNotify& notice, int value) {
  switch (value) {
    case QelDlgNotify::CancelValue:
      return Cancel;
    case QelDlgNotify::YesValue:
      return Yes;
    case QelDlgNotify::NoValue:
      return No;
    default:
      return notice.IsYesNo() ? Yes : OK;
  }
}

}  // namespace QelResponseWords
