// The model files under sandbox/model, built into the program so that a
// sandbox site can be made anywhere without the source tree.
#pragma once

#include <cstddef>

struct DdlModelText {
  const char* file;  // "PEOPLE.model"
  const char* text;
};

// Defined in a source file that the build generates from sandbox/model.
extern const DdlModelText DdlBuiltInModels[];
extern const std::size_t DdlBuiltInModelCount;
