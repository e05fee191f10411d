#include "scale/scale_xbrz_2x.h"

#include <emmintrin.h>

#include <algorithm>
#include <cstring>

#include "scale/color_magnitude.h"
#include "scale/xbrz_blend.h"
#include "scale/xbrz_corners.h"

namespace qz::scale {
namespace {

// Corner marks by source column, carried from one row to the next.
struct ScratchRow {
  uint8_t* marks;
  int32_t width;
};

// The srcW bytes that end where destination row 2 * (y1 + 1) begins: inside the call's own last
// output row, so bands never share one; that row's blocks overwrite only marks already used.
ScratchRow ScratchRowOf(const ImageView& destination, int32_t width, int32_t y1) {
  uint32_t* next_row = destination.pixels + static_cast<intptr_t>(2 * (y1 + 1)) * destination.pitch;
  return {reinterpret_cast<uint8_t*>(next_row) - width, width};
}

// The marks that the corners below row y0 - 1 leave on row y0.
void MarkCornersAbove(const ImageView& source, const uint32_t* table, const ScratchRow& scratch,
                      int32_t x0, int32_t x1, int32_t y0) {
  ForEachCornerVerdict(
      ClampedSourceRows(source, y0 - 1), x0, x1, table,
      [&](int32_t x, const CornerVerdict& verdict, uint32_t) {
        scratch.marks[x] |= static_cast<uint8_t>(verdict.j << kTopRightShift);
        if (x + 1 < scratch.width) {
          scratch.marks[x + 1] |= static_cast<uint8_t>(verdict.k << kTopLeftShift);
        }
      },
      // Flat corners leave no marks.
      [](int32_t) { return true; });
}

// The 2 x 2 blocks of four source pixels, each its pixel with the top byte 0.
void FillFourBlocks(const uint32_t* pixels, uint32_t* top, uint32_t* bottom) {
  const __m128i colours = _mm_and_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(pixels)),
                                        _mm_set1_epi32(kColourMask));
  const __m128i left_pair = _mm_unpacklo_epi32(colours, colours);
  const __m128i right_pair = _mm_unpackhi_epi32(colours, colours);
  _mm_storeu_si128(reinterpret_cast<__m128i*>(top), left_pair);
  _mm_storeu_si128(reinterpret_cast<__m128i*>(top + 4), right_pair);
  _mm_storeu_si128(reinterpret_cast<__m128i*>(bottom), left_pair);
  _mm_storeu_si128(reinterpret_cast<__m128i*>(bottom + 4), right_pair);
}

// The few marked pixels fetch their 3 x 3 neighbours again rather than the walk carrying them.
void BlendMarkedBlock(const SourceRows& rows, int32_t x, const uint32_t* table, uint32_t marks,
                      const OutputBlock& block) {
  BlendBlock(Neighbours3x3At(rows, x, table), marks, block);
}

void DoubleRow(const KernelImages& images, const uint32_t* table, const ScratchRow& scratch,
               int32_t x0, int32_t x1, int32_t y) {
  const ImageView& destination = images.destination;
  uint32_t* top_row = destination.pixels + static_cast<intptr_t>(2 * y) * destination.pitch;
  uint32_t* bottom_row = top_row + destination.pitch;
  const SourceRows rows = ClampedSourceRows(images.source, y);
  uint32_t next_top_left = 0;
  ForEachCornerVerdict(
      rows, x0, x1, table,
      [&](int32_t x, const CornerVerdict& verdict, uint32_t centre) {
        // The marks of this pixel's four corners are complete once its own bottom-right corner
        // is decided; what the corner leaves for its neighbours goes to the scratch row first,
        // since the last row's blocks may overwrite the scratch bytes behind them.
        const uint32_t marks = scratch.marks[x] | (verdict.f << kBottomRightShift);
        scratch.marks[x] = static_cast<uint8_t>((verdict.j << kTopRightShift) | next_top_left);
        next_top_left = verdict.k << kTopLeftShift;
        if (x + 1 < scratch.width) {
          scratch.marks[x + 1] |= static_cast<uint8_t>(verdict.g << kBottomLeftShift);
        }
        const OutputBlock block{{top_row + 2 * x, bottom_row + 2 * x}};
        block.row[0][0] = block.row[0][1] = block.row[1][0] = block.row[1][1] = centre;
        if (marks != 0) BlendMarkedBlock(rows, x, table, marks, block);
      },
      [&](int32_t x) {
        // Four flat corners change no marks; with none waiting either, the four blocks are
        // their plain pixels. So far from the right edge, they end before the scratch bytes
        // still to be read.
        uint32_t waiting = 0;
        std::memcpy(&waiting, scratch.marks + x, sizeof(waiting));
        if ((waiting | next_top_left) != 0) return false;
        FillFourBlocks(rows.row[1] + x, top_row + 2 * x, bottom_row + 2 * x);
        return true;
      });
}

}  // namespace

void ScaleXbrz2x(const KernelImages& images, int32_t x0, int32_t x1, int32_t y0, int32_t y1) {
  const ImageView& source = images.source;
  if (!ClipToImage(source, x0, x1, y0, y1)) return;
  const uint32_t* table = ColorMagnitudeTable;
  const ScratchRow scratch = ScratchRowOf(images.destination, source.width, y1);
  std::memset(scratch.marks, 0, static_cast<size_t>(source.width));
  if (y0 > 0) MarkCornersAbove(source, table, scratch, x0, x1, y0);
  for (int32_t y = y0; y <= y1; ++y) DoubleRow(images, table, scratch, x0, x1, y);
}

}  // namespace qz::scale
