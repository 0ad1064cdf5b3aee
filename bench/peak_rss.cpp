// Runs a command and records its peak resident memory, for the benchmarks
// that measure a process started by another one (the wizard's son).
//
// Usage: peak_rss OUTPUT_FILE PROGRAM [ARGUMENT...]
// Runs PROGRAM with the arguments and this environment, appends
// "peak_rss_kb N" to OUTPUT_FILE, and exits with the program's status.
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstdio>

extern char** environ;

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: peak_rss OUTPUT_FILE PROGRAM [ARGUMENT...]\n");
    return 2;
  }
  pid_t child = 0;
  if (posix_spawn(&child, argv[2], nullptr, nullptr, argv + 2, environ) != 0) {
    std::perror("peak_rss");
    return 127;
  }
  int status = 0;
  rusage usage{};
  while (wait4(child, &status, 0, &usage) < 0) {
    if (errno != EINTR) return 127;
  }
  if (std::FILE* output = std::fopen(argv[1], "a")) {
    std::fprintf(output, "peak_rss_kb %ld\n", usage.ru_maxrss);
    std::fclose(output);
  }
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return WEXITSTATUS(status);
}
