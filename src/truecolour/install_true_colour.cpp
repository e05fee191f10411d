#include "truecolour/install_true_colour.h"

#include "core/log.h"
#include "core/splicer.h"
#include "truecolour/sprite_hooks.h"
#include "truecolour/true_colour_patches.h"

namespace qz::truecolour {

// Publishes the 32-bit frame format, then rewrites and replaces the game's drawing code. Without
// the patching library the game is left untouched.
void InstallTrueColour() {
  if (core::ObtainSplicer() == nullptr) return;
  core::WriteVariable("QZ.BPP", 32);
  const int32_t width = core::ReadVariable("QZ.Rez.X");
  const int32_t bits = core::ReadVariable("QZ.BPP");
  // Signed 32-bit arithmetic as the host expects, wrapping rather than overflowing.
  const auto rounded = static_cast<int32_t>(
      (static_cast<uint32_t>(width) * static_cast<uint32_t>(bits) + 31u) & ~31u);
  core::WriteVariable("QZ.Rez.Scanline", rounded / 8);
  SpecialColourShadowRoutine =
      static_cast<uint32_t>(core::ReadVariable("Tarn.ShadowDrawNewSpeccolorFunc"));
  // Without an instance nothing can be written: the game keeps its code, as after failed writes,
  // and draws 16-bit colour into 32-bit surfaces; the log is where a player learns why.
  core::SplicerInstance* instance = core::CreateInstance("QZ.True32");
  if (instance == nullptr) {
    core::LogLine("ERROR: FAIL TO CREATE QZ_True32 SplicerInstance, NO 32-BIT DRAWING");
    return;
  }
  WriteTrueColourPatches(instance);
}

}  // namespace qz::truecolour
