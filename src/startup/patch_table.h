#pragma once
#include "core/splicer.h"

namespace qz::startup {

// Writes the fixed patches and the window and display hooks into the game, in table order.
void WriteGamePatches(core::SplicerInstance* instance);

}  // namespace qz::startup
