#include "pixel_art_frame.h"

#include <random>

namespace qz::benchmarks {

std::vector<uint32_t> PixelArtFrame() {
  std::mt19937 random(2024);
  const auto next = [&](uint32_t range) { return static_cast<uint32_t>(random() % range); };
  const auto shade = [&] {
    return (next(8) * 32 + 16) << 16 | (next(8) * 32 + 16) << 8 | next(5) * 60;
  };
  std::vector<uint32_t> frame(size_t{kFrameWidth} * kFrameHeight);
  const auto put = [&](int32_t x, int32_t y, uint32_t colour) {
    if (x >= 0 && x < kFrameWidth && y >= 0 && y < kFrameHeight) {
      frame[static_cast<size_t>(y) * kFrameWidth + x] = colour;
    }
  };
  // Terrain: 40 x 40 patches, each cut by a diagonal border of slope 1, 2 or 1/2.
  for (int32_t top = 0; top < kFrameHeight; top += 40) {
    for (int32_t left = 0; left < kFrameWidth; left += 40) {
      const uint32_t ground = shade();
      const uint32_t other = shade();
      const int32_t slope = static_cast<int32_t>(next(3));
      for (int32_t y = 0; y < 40; ++y) {
        for (int32_t x = 0; x < 40; ++x) {
          const int32_t border = slope == 0 ? x - y : slope == 1 ? x - 2 * y : 2 * x - y;
          put(left + x, top + y, border > 0 ? ground : other);
        }
      }
    }
  }
  // Sprites: outlined ellipses of 8 to 20 pixels, lit from the top left.
  for (int32_t sprite = 0; sprite < 400; ++sprite) {
    const auto centre_x = static_cast<int32_t>(next(kFrameWidth));
    const auto centre_y = static_cast<int32_t>(next(kFrameHeight));
    const int32_t radius_x = 4 + static_cast<int32_t>(next(7));
    const int32_t radius_y = 4 + static_cast<int32_t>(next(7));
    const uint32_t body = shade();
    const uint32_t light = body | 0x303030;
    const uint32_t dark = (body >> 1) & 0x7F7F7F;
    const int32_t edge = radius_x * radius_x * radius_y * radius_y;
    for (int32_t y = -radius_y - 1; y <= radius_y + 1; ++y) {
      for (int32_t x = -radius_x - 1; x <= radius_x + 1; ++x) {
        const int32_t inside = x * x * radius_y * radius_y + y * y * radius_x * radius_x;
        if (inside > edge * 3 / 2) continue;
        const uint32_t colour = inside > edge           ? 0x101010
                                : x + y < -radius_x / 2 ? light
                                : x + y > radius_x / 2  ? dark
                                                        : body;
        put(centre_x + x, centre_y + y, colour);
      }
    }
  }
  return frame;
}

}  // namespace qz::benchmarks
