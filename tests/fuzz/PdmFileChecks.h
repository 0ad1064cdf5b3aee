// The check both PDM file readers share: a refused file is told with its
// path and a line the file really has.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace fuzz {

// message must read "<path>:<line>: <reason>" with line from 1 to the
// file's number of lines, and a reason.
void ExpectLocatedMessage(const char* reader, const std::string& message, const std::string& path,
                          const std::uint8_t* data, std::size_t size);

}  // namespace fuzz
