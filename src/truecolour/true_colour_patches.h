#pragma once
#include "core/splicer.h"

namespace qz::truecolour {

// Writes every change that switches the game's drawing to 32-bit pixels through `instance`, in
// table order: the rewritten pixel loops, the wrapped routines and the replaced ones.
void WriteTrueColourPatches(core::SplicerInstance* instance);

}  // namespace qz::truecolour
