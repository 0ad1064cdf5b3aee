#include "QelTime.h"

void QelTime::GetCurrentLocalTime() {
  const std::time_t now = std::time(nullptr);
  localtime_r(&now, &time_);
}

QelUnicodeString QelTime::ConvertToString(const char* format) const {
  char text[256];
  const std::size_t length = std::strftime(text, sizeof text, format, &time_);
  return std::string(text, length);
}
