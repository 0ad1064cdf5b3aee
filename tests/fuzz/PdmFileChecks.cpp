// A located message of the PDM file readers, checked against the file.
#include "PdmFileChecks.h"

#include <algorithm>

#include "FuzzSupport.h"

namespace fuzz {

void ExpectLocatedMessage(const char* reader, const std::string& message, const std::string& path,
                          const std::uint8_t* data, std::size_t size) {
  const std::string prefix = path + ":";
  Expect(message.compare(0, prefix.size(), prefix) == 0, reader, "message without the path");
  std::size_t position = prefix.size();
  long line = 0;
  while (position < message.size() && message[position] >= '0' && message[position] <= '9' &&
         line <= 1'000'000'000) {
    line = line * 10 + (message[position++] - '0');
  }
  const long lines = static_cast<long>(std::count(data, data + size, '\n')) + 1;
  Expect(line >= 1 && line <= lines, reader,
         "line " + std::to_string(line) + " of a file of " + std::to_string(lines) + " lines");
  Expect(message.compare(position, 2, ": ") == 0 && message.size() > position + 2, reader,
         "message without a reason after its line");
}

}  // namespace fuzz
