// The scratch directory and invariant reports of the fuzz targets.
#include "FuzzSupport.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fuzz {

namespace {

void RemoveScratch() {
  std::error_code ignored;
  std::filesystem::remove_all(Scratch(), ignored);
}

}  // namespace

const std::string& Scratch() {
  static const std::string directory = [] {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/tessardbsetup-fuzz.XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) {
      std::perror("fuzz scratch directory");
      std::abort();
    }
    return pattern;
  }();
  static const bool removedAtExit = std::atexit(RemoveScratch) == 0;
  (void)removedAtExit;
  return directory;
}

std::string WriteScratchFile(const std::string& name, const std::uint8_t* data, std::size_t size) {
  const std::string path = Scratch() + "/" + name;
  const int descriptor = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  bool written = descriptor >= 0;
  for (std::size_t done = 0; written && done < size;) {
    const ssize_t count = write(descriptor, data + done, size - done);
    written = count > 0;
    if (written) done += static_cast<std::size_t>(count);
  }
  if (descriptor >= 0) close(descriptor);
  // A scratch file that cannot be written would fuzz an empty file instead.
  if (!written) Violated("scratch", "cannot write " + path);
  return path;
}

std::string ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

void Violated(const char* reader, const std::string& what) {
  std::fprintf(stderr, "\n%s reader broke an invariant: %s\n", reader, what.c_str());
  std::fflush(stderr);
  std::abort();
}

}  // namespace fuzz
