#include "scale/scale_bicubic.h"

#include <cstddef>

#include "scale/bicubic_weights.h"

namespace qz::scale {

void ScaleBicubic(const KernelImages& images, int32_t x0, int32_t x1, int32_t y0, int32_t y1) {
  const BicubicWeights& weights = CurrentBicubicWeights;
  const ImageView& source = images.source;
  const ImageView& destination = images.destination;
  if (weights.source_width != source.width || weights.source_height != source.height ||
      weights.destination_width != destination.width ||
      weights.destination_height != destination.height) {
    return;
  }
  for (int32_t y = y0; y <= y1; ++y) {
    const BicubicTaps& row = weights.rows[y];
    const uint32_t* tap_rows[4];
    __m128d row_factors[4];
    for (int32_t n = 0; n < 4; ++n) {
      const int32_t source_row = row.centre == 0 && n == 0 ? 0 : row.centre - 1 + n;
      tap_rows[n] = source.pixels + static_cast<ptrdiff_t>(source_row) * source.pitch;
      row_factors[n] = _mm_set1_pd(row.factors[n]);
    }
    uint32_t* out = destination.pixels + static_cast<ptrdiff_t>(y) * destination.pitch;
    for (int32_t x = x0; x <= x1; ++x) {
      const BicubicTaps& column = weights.columns[x];
      const __m128i pixel_weights[4] = {TapRowWeights(row_factors[0], column.factors),
                                        TapRowWeights(row_factors[1], column.factors),
                                        TapRowWeights(row_factors[2], column.factors),
                                        TapRowWeights(row_factors[3], column.factors)};
      out[x] = BicubicPixel(tap_rows, column.centre, pixel_weights, out[x]);
    }
  }
}

}  // namespace qz::scale
