// Wall-clock time for the texts that date a run.
#pragma once

#include <ctime>

#include "QelUnicodeString.h"

class QelTime {
 public:
  void GetCurrentLocalTime();
  // strftime formatting, e.g. "%c".
  QelUnicodeString ConvertToString(const char* format) const;

 private:
  std::tm time_{};
};
