// The wizard's controller, built once per process as the program builds it,
// with its settings, logs and catalogues in the scratch directory.
#pragma once

#include "app/ZEP2InstHQ.h"

namespace fuzz {

ZEP2InstHQ& Controller();

}  // namespace fuzz
