#include "truecolour/install_true_colour.h"

#include "core/splicer.h"

namespace qz::truecolour {

// Publishes the 32-bit frame format; the game's drawing routines follow with their replacements.
// Without the patching library the game is left untouched.
void InstallTrueColour() {
  if (core::ObtainSplicer() == nullptr) return;
  core::WriteVariable("QZ.BPP", 32);
  const int32_t width = core::ReadVariable("QZ.Rez.X");
  const int32_t bits = core::ReadVariable("QZ.BPP");
  // Signed 32-bit arithmetic as the host expects, wrapping rather than overflowing.
  const auto rounded = static_cast<int32_t>(
      (static_cast<uint32_t>(width) * static_cast<uint32_t>(bits) + 31u) & ~31u);
  core::WriteVariable("QZ.Rez.Scanline", rounded / 8);
}

}  // namespace qz::truecolour
