#include "scale/scale_bicubic.h"

#include <memory>
#include <new>

namespace qz::scale {
namespace {

// The weights of each column phase in rows of one phase: from the table of all phase pairs, or
// worked out into `scratch` when there is none (kept while the row phase stays the same).
struct RowWeights {
  const BicubicWeights& weights;
  std::unique_ptr<PixelWeights[]> scratch;
  int32_t scratch_phase = -1;
};

const PixelWeights* WeightsOfRowPhase(RowWeights& row_weights, int32_t row_phase) {
  const BicubicWeights& weights = row_weights.weights;
  const int32_t column_phases = weights.columns.phase_count;
  if (weights.phase_weights) return &weights.phase_weights[row_phase * column_phases];
  if (row_weights.scratch_phase != row_phase) {
    for (int32_t phase = 0; phase < column_phases; ++phase) {
      row_weights.scratch[phase] = PhaseWeights(weights, row_phase, phase);
    }
    row_weights.scratch_phase = row_phase;
  }
  return row_weights.scratch.get();
}

// Where a destination column reads, both in bytes so that the per-pixel work only adds: its
// entry sx - 1 in each paired tap row and its weights among those of a row phase.
struct ColumnReads {
  EntryBytes entry;
  ptrdiff_t weights;
};

}  // namespace

void ScaleBicubic(const KernelImages& images, int32_t x0, int32_t x1, int32_t y0, int32_t y1) {
  const BicubicWeights& weights = CurrentBicubicWeights;
  const ImageView& source = images.source;
  const ImageView& destination = images.destination;
  if (weights.source_width != source.width || weights.source_height != source.height ||
      weights.destination_width != destination.width ||
      weights.destination_height != destination.height || x0 > x1 || y0 > y1) {
    return;
  }
  const AxisTap* columns = weights.columns.taps.get();
  // Entries from column sx - 1 of the first pixel to sx + 1 of the last.
  PairedRowRing ring = MakePairedRowRing(columns[x0].centre - 1, columns[x1].centre + 1);
  RowWeights row_weights{weights, nullptr};
  if (!weights.phase_weights) {
    row_weights.scratch.reset(new (std::nothrow) PixelWeights[weights.columns.phase_count]);
    if (!row_weights.scratch) return;
  }
  if (!ring.entries) return;
  const std::unique_ptr<ColumnReads[]> reads(new (std::nothrow) ColumnReads[x1 - x0 + 1]);
  if (!reads) return;
  for (int32_t x = x0; x <= x1; ++x) {
    reads[x - x0] = {
        EntryOfColumn(columns[x].centre - 1),
        static_cast<ptrdiff_t>(columns[x].phase) * static_cast<ptrdiff_t>(sizeof(PixelWeights))};
  }

  for (int32_t y = y0; y <= y1; ++y) {
    const AxisTap row = weights.rows.taps[y];
    const PixelWeights* phase_weights = WeightsOfRowPhase(row_weights, row.phase);
    const PairedColumns* tap_rows[4];
    for (int32_t n = 0; n < 4; ++n) {
      const int32_t source_row = row.centre == 0 && n == 0 ? 0 : row.centre - 1 + n;
      tap_rows[n] = PairedRow(ring, source, source_row);
    }
    const auto sums_of = [&](int32_t x) {
      const ColumnReads& column = reads[x - x0];
      const auto* weights_bytes = reinterpret_cast<const char*>(phase_weights) + column.weights;
      return BicubicSums(tap_rows, column.entry,
                         *reinterpret_cast<const PixelWeights*>(weights_bytes));
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
