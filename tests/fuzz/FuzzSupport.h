// What the fuzz targets share: a private scratch directory for the readers
// that take a path, and the report of a broken invariant.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace fuzz {

// A directory of this process, made on first use and removed at its exit.
const std::string& Scratch();

// Writes the input as the file name in the scratch directory; its path.
std::string WriteScratchFile(const std::string& name, const std::uint8_t* data, std::size_t size);

std::string ReadFile(const std::string& path);

// A reader broke one of its own invariants: says which and aborts, so that
// libFuzzer keeps the input and a replay fails. what never quotes a value
// of the input: a settings or response file may hold a password.
[[noreturn]] void Violated(const char* reader, const std::string& what);

inline void Expect(bool holds, const char* reader, const std::string& what) {
  if (!holds) Violated(reader, what);
}

}  // namespace fuzz
