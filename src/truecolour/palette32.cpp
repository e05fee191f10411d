#include "truecolour/palette32.h"

#include <cstddef>

namespace qz::truecolour {

std::array<uint32_t, 256> Palette32{};

void BuildPalette32(const uint16_t* palette) {
  // A plain pass the compiler vectorises; one per draw call.
  for (size_t index = 0; index < Palette32.size(); ++index) {
    Palette32[index] = PixelFromRgb565(palette[index]);
  }
}

}  // namespace qz::truecolour
