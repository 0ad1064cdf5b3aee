// Replays the inputs kept for a fuzz target (its corpus and the inputs that
// once broke it) through the same entry point, in builds without libFuzzer.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int* argc, char*** argv);

int main(int argc, char** argv) {
  if (LLVMFuzzerInitialize) LLVMFuzzerInitialize(&argc, &argv);
  std::vector<std::filesystem::path> inputs;
  for (int i = 1; i < argc; ++i) {
    const std::filesystem::path argument = argv[i];
    if (!std::filesystem::exists(argument)) {
      std::fprintf(stderr, "%s: no such file or directory\n", argv[i]);
      return 1;
    }
    if (!std::filesystem::is_directory(argument)) {
      inputs.push_back(argument);
      continue;
    }
    for (const auto& entry : std::filesystem::recursive_directory_iterator(argument)) {
      if (entry.is_regular_file()) inputs.push_back(entry.path());
    }
  }
  std::sort(inputs.begin(), inputs.end());
  for (const auto& input : inputs) {
    const std::string content = fuzz::ReadFile(input);
    std::fprintf(stderr, "replaying %s\n", input.c_str());
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(content.data()), content.size());
  }
  std::printf("%zu inputs replayed\n", inputs.size());
  // No input at all means a wrong directory, not a reader that passed.
  return inputs.empty() ? 1 : 0;
}
