#include <algorithm>
#include <cstddef>
#include <cstring>
#include <memory>
#include <new>

#include "cursor/cursor_image_ops.h"

namespace qz::cursor {

bool SharpenCross(const ArgbImage& image, double strength) {
  const int32_t width = image.width;
  const int32_t height = image.height;
  if (width < 3 || height < 3) return true;  // no pixel has all four neighbours
  // Every pixel reads its neighbours as they were, so the work reads from a copy.
  const size_t count = static_cast<size_t>(width) * height;
  std::unique_ptr<uint32_t[]> copy(new (std::nothrow) uint32_t[count]);
  if (!copy) return false;
  for (int32_t y = 0; y < height; ++y) {
    std::memcpy(copy.get() + static_cast<size_t>(y) * width,
                image.pixels + static_cast<ptrdiff_t>(y) * image.pitch_pixels,
                static_cast<size_t>(width) * sizeof(uint32_t));
  }
  //     .  b  .
  //     d  e  f      weights -k around a centre of 1 + 4k
  //     .  h  .
  const double centre_weight = 1.0 + 4.0 * strength;
  const double side_weight = -strength;
  for (int32_t y = 1; y < height - 1; ++y) {
    const uint32_t* above = copy.get() + static_cast<size_t>(y - 1) * width;
    const uint32_t* row = above + width;
    const uint32_t* below = row + width;
    uint32_t* out = image.pixels + static_cast<ptrdiff_t>(y) * image.pitch_pixels;
    for (int32_t x = 1; x < width - 1; ++x) {
      uint32_t result = 0;
      for (uint32_t shift = 0; shift < 32; shift += 8) {
        const auto byte = [shift](uint32_t pixel) {
          return static_cast<double>((pixel >> shift) & 255);
        };
        // Row by row through the kernel; the zero corners add nothing.
        double sum = side_weight * byte(above[x]);
        sum += side_weight * byte(row[x - 1]);
        sum += centre_weight * byte(row[x]);
        sum += side_weight * byte(row[x + 1]);
        sum += side_weight * byte(below[x]);
        result |= static_cast<uint32_t>(std::clamp(sum, 0.0, 255.0)) << shift;
      }
      out[x] = result;
    }
  }
  return true;
}

}  // namespace qz::cursor
