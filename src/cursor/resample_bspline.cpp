#include <algorithm>
#include <cstddef>

#include "cursor/cursor_image_ops.h"
#include "scale/bspline_weight.h"

namespace qz::cursor {
namespace {

// Where a destination row or column samples the source: the tap at offset 0 and the fraction
// past it. The half-pixel offset means that even at equal sizes every sample falls between two
// pixels, which blurs.
struct SamplePosition {
  int32_t tap = 0;
  double fraction = 0.0;
};

SamplePosition PositionOf(int32_t destination_index, double ratio) {
  const double position = destination_index * ratio + 0.5;
  const auto tap = static_cast<int32_t>(position);
  return {tap, position - tap};
}

const uint32_t* PixelAt(const ArgbImage& image, int32_t x, int32_t y) {
  return image.pixels + static_cast<ptrdiff_t>(y) * image.pitch_pixels + x;
}

}  // namespace

void ResampleBSpline(const ArgbImage& destination, const ArgbImage& source, int32_t source_width,
                     int32_t source_height, int32_t destination_x, int32_t destination_y,
                     int32_t destination_width, int32_t destination_height) {
  const double ratio_x = static_cast<double>(source_width) / destination_width;
  const double ratio_y = static_cast<double>(source_height) / destination_height;
  for (int32_t j = 0; j < destination_height; ++j) {
    const SamplePosition row = PositionOf(j, ratio_y);
    // Each tap's weight is the product of a row and a column factor; the factors are the same
    // doubles whichever tap asks, so they are evaluated once per row and once per pixel.
    double row_factors[4];
    for (int32_t m = -1; m <= 2; ++m) row_factors[m + 1] = scale::BSplineWeight(row.fraction - m);
    uint32_t* out = destination.pixels +
                    static_cast<ptrdiff_t>(destination_y + j) * destination.pitch_pixels +
                    destination_x;
    for (int32_t i = 0; i < destination_width; ++i) {
      const SamplePosition column = PositionOf(i, ratio_x);
      double column_factors[4];
      int32_t columns[4];
      for (int32_t n = -1; n <= 2; ++n) {
        column_factors[n + 1] = scale::BSplineWeight(n - column.fraction);
        columns[n + 1] = std::clamp(column.tap + n, 0, source_width - 1);
      }
      // One sum per byte, all four bytes alike, added tap by tap in row-major order.
      double sums[4] = {};
      for (int32_t m = 0; m < 4; ++m) {
        const int32_t source_row = std::clamp(row.tap + m - 1, 0, source_height - 1);
        for (int32_t n = 0; n < 4; ++n) {
          const double weight = column_factors[n] * row_factors[m];
          const uint32_t pixel = *PixelAt(source, columns[n], source_row);
          for (int32_t byte = 0; byte < 4; ++byte) {
            sums[byte] += static_cast<double>((pixel >> (8 * byte)) & 255) * weight;
          }
        }
      }
      // The weights add up to one within rounding, so the sums need no clamping; truncation
      // makes a uniform 255 come out as 254 where the weights sum just below one.
      uint32_t result = 0;
      for (int32_t byte = 0; byte < 4; ++byte) {
        result |= (static_cast<uint32_t>(static_cast<int32_t>(sums[byte])) & 255) << (8 * byte);
      }
      out[i] = result;
    }
  }
}

}  // namespace qz::cursor
