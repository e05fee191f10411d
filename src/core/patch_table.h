#pragma once
#include "core/splicer.h"

namespace qz::core {

// Writes the fixed patches and the window and display hooks into the game, in table order.
void WriteGamePatches(SplicerInstance* instance);

}  // namespace qz::core
