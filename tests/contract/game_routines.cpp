#include "game_routines.h"

#include <cstddef>

namespace qz::contract {

void DrawTestSprite(void* sprite, int32_t width, int32_t height, uint32_t* pixels,
                    int32_t pitch_bytes) {
  const auto& drawn = *static_cast<const TestSprite*>(sprite);
  for (int32_t y = 0; y < height && y < drawn.height; ++y) {
    for (int32_t x = 0; x < width && x < drawn.width; ++x) {
      const uint32_t pixel = (*drawn.picture)[static_cast<size_t>(y) * drawn.width + x];
      if (pixel >> 24 == 0) continue;
      pixels[static_cast<ptrdiff_t>(y) * (pitch_bytes / 4) + x] = pixel & 0x00FFFFFF;
    }
  }
}

}  // namespace qz::contract
