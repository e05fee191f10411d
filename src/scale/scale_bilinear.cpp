#include "scale/scale_bilinear.h"

#include <emmintrin.h>

#include <algorithm>
#include <cstddef>
#include <type_traits>

#include "scale/pixel_block.h"
#include "scale/sharpen_rules.h"

namespace qz::scale {
namespace {

// Columns of one piece of a row; a picture up to 7680 pixels wide is one piece.
constexpr int32_t kPieceColumns = 7680;
// 16-bit channel lanes per pixel in an interpolated row.
constexpr int32_t kLanes = 4;

// Per-thread working set of one call (about 210 KiB), kept off the heap and off the game's small
// stacks: the source column and weight of every destination column, and two source rows already
// interpolated across, since every destination row between two source rows needs the same ones.
struct InterpolationScratch {
  int32_t source_columns[kPieceColumns];
  uint64_t column_weights[kPieceColumns];  // lanes w, w, w, 0, scaled as ColourWeights does
  uint16_t rows[2][kPieceColumns * kLanes];
  int32_t held[2];  // the source row in each of `rows`, -1 for none
};

thread_local InterpolationScratch scratch;

// Destination columns left .. left + count - 1; blocks of four may run up to `padded`.
struct Piece {
  int32_t left;
  int32_t count;
  int32_t padded;
};

void PlanColumns(InterpolationScratch& work, const Piece& piece, int64_t step_x) {
  int64_t position = step_x * piece.left;
  for (int32_t i = 0; i < piece.count; ++i, position += step_x) {
    work.source_columns[i] = static_cast<int32_t>(position >> 16);
    const auto weight = static_cast<uint64_t>(((position >> 8) & 255) * kWeightScale);
    work.column_weights[i] = weight * 0x0000000100010001u;
  }
  // Padding repeats the last column, so a whole block reads nothing the last column would not.
  for (int32_t i = piece.count; i < piece.padded; ++i) {
    work.source_columns[i] = work.source_columns[piece.count - 1];
    work.column_weights[i] = work.column_weights[piece.count - 1];
  }
  work.held[0] = work.held[1] = -1;
}

//   TL TR     one 64-bit load per destination column brings both horizontal neighbours; those of
//             two columns are interleaved into (TL, TL', TR, TR'), so that widening the low and the
//             high half gives the two "from" and the two "to" pixels of one multiply each.
void InterpolateAcross(const InterpolationScratch& work, const uint32_t* source_row, int32_t padded,
                       uint16_t* out) {
  const auto neighbours = [&](int32_t i) {
    return _mm_loadl_epi64(reinterpret_cast<const __m128i*>(source_row + work.source_columns[i]));
  };
  const auto two_columns = [&](int32_t i) {
    const __m128i pair = _mm_unpacklo_epi32(neighbours(i), neighbours(i + 1));
    const __m128i weights =
        _mm_loadu_si128(reinterpret_cast<const __m128i*>(work.column_weights + i));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i * kLanes),
                     Interpolate(WidenLow(pair), WidenHigh(pair), weights));
  };
  // `padded` is a whole number of blocks of four.
  for (int32_t i = 0; i < padded; i += 4) {
    two_columns(i);
    two_columns(i + 2);
  }
}

// Source row `row` interpolated across, made only when neither held row is it; it replaces the
// held row that is not `keep`.
const uint16_t* RowAcross(InterpolationScratch& work, const ImageView& source, const Piece& piece,
                          int32_t row, int32_t keep) {
  for (int32_t slot = 0; slot < 2; ++slot) {
    if (work.held[slot] == row) return work.rows[slot];
  }
  const int32_t slot = work.held[0] == keep ? 1 : 0;
  InterpolateAcross(work, source.pixels + static_cast<ptrdiff_t>(row) * source.pitch, piece.padded,
                    work.rows[slot]);
  work.held[slot] = row;
  return work.rows[slot];
}

__m128i LoadLanes(const uint16_t* row, int32_t pixel) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + pixel * kLanes));
}

struct NoSharpening {};

//   P R      row above: P = (x, y - 1), R = (x + 1, y - 1), still plain bilinear when read
//   D        row y: D = (x, y), the value just interpolated
template <typename Rule>
void ScaleRows(const KernelImages& images, int32_t x0, int32_t x1, int32_t y0, int32_t y1,
               FirstRow first_row) {
  constexpr bool kSharpens = !std::is_same_v<Rule, NoSharpening>;
  const ImageView& source = images.source;
  const ImageView& picture = images.destination;
  if (picture.width < 1 || picture.height < 1 || x1 < x0) return;
  const int64_t step_x = ((int64_t{source.width} << 16) + 32768) / picture.width;
  const int64_t step_y = ((int64_t{source.height} << 16) + 32768) / picture.height;
  InterpolationScratch& work = scratch;
  const bool one_piece = x1 - x0 < kPieceColumns;
  for (int32_t y = y0; y <= y1; ++y) {
    const int64_t position = step_y * y;
    const auto source_row = static_cast<int32_t>(position >> 16);
    const __m128i row_weights = ColourWeights(static_cast<int32_t>((position >> 8) & 255));
    uint32_t* out = picture.pixels + static_cast<ptrdiff_t>(y) * picture.pitch;
    // On the picture's first row the row above is the row itself, and the plain value stored
    // after the sharpened one wins; so nothing is sharpened there.
    const bool sharpens_above =
        kSharpens && (y > y0 || (y > 0 && first_row != FirstRow::kHasNoRowAbove));
    const bool stores = y > y0 || first_row != FirstRow::kOnlySharpensRowAbove;
    uint32_t* above = sharpens_above ? out - picture.pitch : nullptr;
    for (int32_t left = x0; left <= x1; left += kPieceColumns) {
      const int32_t count = std::min(kPieceColumns, x1 - left + 1);
      const Piece piece{left, count, (count + kBlockPixels - 1) / kBlockPixels * kBlockPixels};
      if (y == y0 || !one_piece) PlanColumns(work, piece, step_x);
      const uint16_t* top = RowAcross(work, source, piece, source_row, source_row + 1);
      const uint16_t* bottom = RowAcross(work, source, piece, source_row + 1, source_row);
      // Four pixels a block; `pixels` is 4 except in the last block of the piece.
      const auto block = [&](int32_t i, int32_t pixels) {
        const int32_t x = left + i;
        const __m128i low = Interpolate(LoadLanes(top, i), LoadLanes(bottom, i), row_weights);
        const __m128i high =
            Interpolate(LoadLanes(top, i + 2), LoadLanes(bottom, i + 2), row_weights);
        const __m128i interpolated = Narrow(low, high);
        if constexpr (kSharpens) {
          if (above != nullptr) {
            const __m128i p = LoadPixels(above + x, pixels);
            const __m128i r = LoadPixels(above + x + 1, pixels);
            StorePixels(above + x, SharpenBlock<Rule>(p, r, interpolated), pixels);
          }
        }
        if (stores) StorePixels(out + x, interpolated, pixels);
      };
      int32_t i = 0;
      for (; i + kBlockPixels <= count; i += kBlockPixels) block(i, kBlockPixels);
      if (i < count) block(i, count - i);
    }
  }
}

}  // namespace

void ScaleBilinear(const KernelImages& images, int32_t x0, int32_t x1, int32_t y0, int32_t y1) {
  ScaleRows<NoSharpening>(images, x0, x1, y0, y1, FirstRow::kSharpensRowAbove);
}

void ScaleBilinearSharp(const KernelImages& images, int32_t x0, int32_t x1, int32_t y0,
                        int32_t y1) {
  ScaleRows<MildSharpening>(images, x0, x1, y0, y1, FirstRow::kSharpensRowAbove);
}

void ScaleBilinearSharpX2(const KernelImages& images, int32_t x0, int32_t x1, int32_t y0,
                          int32_t y1) {
  ScaleRows<FusedStrongSharpening>(images, x0, x1, y0, y1, FirstRow::kSharpensRowAbove);
}

void ScaleBilinearSharpRows(const KernelImages& images, int32_t x0, int32_t x1, int32_t y0,
                            int32_t y1, FirstRow first_row) {
  ScaleRows<MildSharpening>(images, x0, x1, y0, y1, first_row);
}

void ScaleBilinearSharpX2Rows(const KernelImages& images, int32_t x0, int32_t x1, int32_t y0,
                              int32_t y1, FirstRow first_row) {
  ScaleRows<FusedStrongSharpening>(images, x0, x1, y0, y1, first_row);
}

FusedKernel FusedFormOf(Kernel kernel) {
  if (kernel == ScaleBilinearSharp) return ScaleBilinearSharpRows;
  if (kernel == ScaleBilinearSharpX2) return ScaleBilinearSharpX2Rows;
  return nullptr;
}

}  // namespace qz::scale
