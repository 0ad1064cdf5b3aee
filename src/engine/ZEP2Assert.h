// The engine's fatal check of a null argument: "AssertionFailed:" and the
// parameter's name in the error log and on stderr, then the process stops.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/QelLog.h"

inline void ZEP2AssertNotNull(const void* pointer, const char* name) {
  if (pointer) return;
  WriteErrLogFile(std::string("\nAssertionFailed:") + name + "\n");
  std::fprintf(stderr, "AssertionFailed:%s\n", name);
  std::abort();
}
