#include "TempDirectory.h"

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "platform/QelLog.h"

TempDirectory::TempDirectory() {
  std::string pattern = (std::filesystem::temp_directory_path() / "tessartest.XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

TempDirectory::~TempDirectory() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string ReadWholeFile(const std::string& path) {
  // The code under test runs in this process and writes its trace in
  // blocks: what it traced so far goes to the file before the file is read.
  QelFlushLogFiles();
  std::ifstream file(path, std::ios::binary);
  std::ostringstream content;
  content << file.rdbuf();
  return content.str();
}
