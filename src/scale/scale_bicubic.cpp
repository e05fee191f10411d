#include "scale/scale_bicubic.h"

#include <memory>
#include <new>

namespace qz::scale {

void ScaleBicubic(const KernelImages& images, int32_t x0, int32_t x1, int32_t y0, int32_t y1) {
  const BicubicWeights& weights = CurrentBicubicWeights;
  const ImageView& source = images.source;
  const ImageView& destination = images.destination;
  if (weights.source_width != source.width || weights.source_height != source.height ||
      weights.destination_width != destination.width ||
      weights.destination_height != destination.height || x0 > x1 || y0 > y1) {
    return;
  }
  const BicubicColumn* columns = weights.columns.get();
  // Entries from column sx - 1 of the first pixel to sx + 1 of the last.
  PairedRowRing ring = MakePairedRowRing(columns[x0].centre - 1, columns[x1].centre + 1);
  // The weights of every phase in the current row.
  const std::unique_ptr<PixelWeights[]> phase_weights(new (std::nothrow)
                                                          PixelWeights[weights.phase_count]);
  if (!ring.entries || !phase_weights) return;

  for (int32_t y = y0; y <= y1; ++y) {
    const BicubicTaps& row = weights.rows[y];
    for (int32_t phase = 0; phase < weights.phase_count; ++phase) {
      phase_weights[phase] = PixelWeightsOf(row.factors, weights.column_phases[phase].factors);
    }
    const PairedColumns* tap_rows[4];
    for (int32_t n = 0; n < 4; ++n) {
      const int32_t source_row = row.centre == 0 && n == 0 ? 0 : row.centre - 1 + n;
      tap_rows[n] = PairedRow(ring, source, source_row);
    }
    const auto sums_of = [&](int32_t x) {
      const BicubicColumn column = columns[x];
      return BicubicSums(tap_rows, column.centre - 1, phase_weights[column.phase]);
    };
    uint32_t* out = destination.pixels + static_cast<ptrdiff_t>(y) * destination.pitch;
    int32_t x = x0;
    for (; x + 3 <= x1; x += 4) {
      __m128i* four = reinterpret_cast<__m128i*>(out + x);
      _mm_storeu_si128(four, BicubicPixels(sums_of(x), sums_of(x + 1), sums_of(x + 2),
                                           sums_of(x + 3), _mm_loadu_si128(four)));
    }
    for (; x <= x1; ++x) {
      const __m128i sums = sums_of(x);
      const __m128i pixel =
          BicubicPixels(sums, sums, sums, sums, _mm_cvtsi32_si128(static_cast<int32_t>(out[x])));
      out[x] = static_cast<uint32_t>(_mm_cvtsi128_si32(pixel));
    }
  }
}

}  // namespace qz::scale
