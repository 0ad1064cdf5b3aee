// The time a run spends writing its trace: the lines of a real run's trace
// written again through the program's trace functions, and, beside them, one
// write per line, as the trace was written before it went in blocks.
//
// Usage: trace_write_bench TRACE_FILE
// Prints the trace's size and line count, then "blocks S s" (the program's
// way: WriteTraceLogFile and the flush at the end) and "per line S s", each
// the fastest of three runs into a scratch file beside TRACE_FILE.
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/QelLog.h"

namespace {

// A trace call writes "\n" and then its text: the lines are cut before each
// newline, as the calls made them.
std::vector<std::string> TraceCalls(const std::string& content) {
  std::vector<std::string> calls;
  std::size_t start = 0;
  while (start < content.size()) {
    std::size_t next = content.find('\n', start + 1);
    if (next == std::string::npos) next = content.size();
    calls.push_back(content.substr(start, next - start));
    start = next;
  }
  return calls;
}

template <class Body>
double FastestOfThree(Body&& body) {
  double best = 1e9;
  for (int run = 0; run < 3; ++run) {
    const auto start = std::chrono::steady_clock::now();
    body();
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    best = std::min(best, elapsed.count());
  }
  return best;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: trace_write_bench TRACE_FILE\n");
    return 2;
  }
  std::ifstream file(argv[1], std::ios::binary);
  if (!file) {
    std::fprintf(stderr, "trace_write_bench: cannot read %s\n", argv[1]);
    return 1;
  }
  const std::string content{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  const std::vector<std::string> calls = TraceCalls(content);
  std::vector<QelUnicodeString> texts(calls.begin(), calls.end());
  const std::string scratch = std::string(argv[1]) + ".bench";

  const double blocks = FastestOfThree([&] {
    OpenTraceLogFile(scratch.c_str(), 1);
    for (const QelUnicodeString& text : texts) WriteTraceLogFile(text, 0);
    QelCloseLogFiles();
  });
  const double perLine = FastestOfThree([&] {
    const int descriptor = open(scratch.c_str(), O_WRONLY | O_TRUNC | O_APPEND);
    for (const std::string& call : calls) {
      [[maybe_unused]] const ssize_t written = write(descriptor, call.data(), call.size());
    }
    close(descriptor);
  });
  unlink(scratch.c_str());
  std::printf("trace %.1f MB, %zu calls\n", content.size() / 1e6, calls.size());
  std::printf("blocks    %.3f s\nper line  %.3f s\n", blocks, perLine);
  return 0;
}
