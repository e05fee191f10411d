#pragma once

namespace qz::truecolour {

// Switches the game to 32-bit pixels: the first thing Start does.
void InstallTrueColour();

}  // namespace qz::truecolour
