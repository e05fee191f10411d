#pragma once
#include "core/splicer.h"

namespace qz::cursor {

// Turns the game's cursor choices into alpha system cursors.
void InstallSysCursors(core::SplicerInstance* instance);

}  // namespace qz::cursor
