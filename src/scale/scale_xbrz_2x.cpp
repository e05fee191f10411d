#include "scale/scale_xbrz_2x.h"

#include <emmintrin.h>

#include <algorithm>
#include <cstring>
#include <utility>

#include "scale/color_magnitude.h"
#include "scale/xbrz_blend.h"
#include "scale/xbrz_corners.h"
#include "scale/xbrz_strip_row.h"

namespace qz::scale {
namespace {

struct Strip {
  int32_t first_column;
  int32_t last_column;
  // The corners left of the rectangle's first column are not decided: that column takes no
  // marks from them.
  bool at_rectangle_start;
};

// Source row `y` (clamped) over the strip, as far as the strip's work reads it.
void LoadStripRow(const XbrzLaneWork& work, const ImageView& source, const uint32_t* table,
                  const Strip& strip, int32_t y, StripRow& row) {
  y = std::clamp(y, 0, source.height - 1);
  const uint32_t* pixels = source.pixels + static_cast<intptr_t>(y) * source.pitch;
  const int32_t last = source.width - 1;
  const int32_t first_column = strip.first_column - kRowPadding;
  const int32_t wanted = strip.last_column - strip.first_column + 1 + kRowOverrun;
  const int32_t length = std::min(wanted / kLaneGroup * kLaneGroup, kRowLength);
  // Entries whose columns lie inside the frame are copied four at a time.
  const int32_t inside_first = std::clamp(-first_column, 0, length);
  const int32_t inside_end = std::clamp(last + 1 - first_column, inside_first, length);
  int32_t i = 0;
  for (; i < inside_first; ++i) row.colour[i] = pixels[0] & kColourMask;
  const __m128i mask = _mm_set1_epi32(kColourMask);
  for (; i + 4 <= inside_end; i += 4) {
    const __m128i four =
        _mm_loadu_si128(reinterpret_cast<const __m128i*>(pixels + first_column + i));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(row.colour + i), _mm_and_si128(four, mask));
  }
  for (; i < inside_end; ++i) row.colour[i] = pixels[first_column + i] & kColourMask;
  for (; i < length; ++i) row.colour[i] = pixels[last] & kColourMask;
  work.look_up_magnitudes(table, row.colour, length, row.magnitude);
}

// rows[0..3] are source rows y - 1 .. y + 2.
void DecideRow(const XbrzLaneWork& work, const StripRow* const rows[4], const Strip& strip,
               VerdictRow& out) {
  work.decide_row(rows, strip.last_column - strip.first_column + 2, out.verdict);
  if (strip.at_rectangle_start) out.verdict[0] = 0;
}

// The four corner marks of the strip's pixels from the verdicts of the corners around each: its
// own bottom-right corner, the one left of it, and the two above. Sixteen pixels at a time; the
// byte masks drop what the 16-bit shifts carry over from the neighbouring byte.
void MarkRow(const VerdictRow& above, const VerdictRow& row, int32_t count, uint8_t* marks) {
  const auto load = [](const uint8_t* bytes) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes));
  };
  const auto bits = [](__m128i bytes, uint8_t mask) {
    return _mm_and_si128(bytes, _mm_set1_epi8(static_cast<char>(mask)));
  };
  for (int32_t pixel = 0; pixel < count; pixel += 16) {
    // Pixel p's own corner has index p + 1, the one left of it index p.
    const __m128i own = load(row.verdict + pixel + 1);
    const __m128i left = load(row.verdict + pixel);
    const __m128i own_above = load(above.verdict + pixel + 1);
    const __m128i left_above = load(above.verdict + pixel);
    // F's field (bits 0-1) to bottom right, G's (2-3) to bottom left, J's (4-5) to top right,
    // K's (6-7) to top left.
    const __m128i bottom_right =
        bits(_mm_slli_epi16(own, kBottomRightShift), 3 << kBottomRightShift);
    const __m128i bottom_left =
        bits(_mm_slli_epi16(left, kBottomLeftShift - 2), 3 << kBottomLeftShift);
    const __m128i top_right =
        bits(_mm_srli_epi16(own_above, 4 - kTopRightShift), 3 << kTopRightShift);
    const __m128i top_left =
        bits(_mm_srli_epi16(left_above, 6 - kTopLeftShift), 3 << kTopLeftShift);
    _mm_storeu_si128(
        reinterpret_cast<__m128i*>(marks + pixel),
        _mm_or_si128(_mm_or_si128(bottom_right, bottom_left), _mm_or_si128(top_right, top_left)));
  }
}

Grid3x3<Sample> Neighbours3x3(const StripRow* const rows[4], int32_t entry) {
  const auto at = [&](int32_t slot, int32_t offset) {
    return Sample{rows[slot]->colour[entry + offset], rows[slot]->magnitude[entry + offset]};
  };
  return {at(0, -1), at(0, 0),  at(0, 1), at(1, -1), at(1, 0),
          at(1, 1),  at(2, -1), at(2, 0), at(2, 1)};
}

// Writes the blocks of source row y over the strip; rows[0..3] are source rows y - 1 .. y + 2.
void DoubleStripRow(const XbrzLaneWork& work, const ImageView& destination,
                    const StripRow* const rows[4], const Strip& strip, const VerdictRow& above,
                    const VerdictRow& row, int32_t y) {
  const intptr_t first_block = static_cast<intptr_t>(2 * y) * destination.pitch +
                               2 * static_cast<intptr_t>(strip.first_column);
  uint32_t* top = destination.pixels + first_block;
  uint32_t* bottom = top + destination.pitch;
  const int32_t count = strip.last_column - strip.first_column + 1;
  uint8_t marks[kStripColumns];
  MarkRow(above, row, count, marks);
  const uint32_t* centre = rows[1]->colour + kRowPadding;
  // What is left over after the last whole group of lanes.
  for (int32_t pixel = work.double_row(rows, marks, count, top, bottom); pixel < count; ++pixel) {
    const OutputBlock block{{top + 2 * pixel, bottom + 2 * pixel}};
    block.row[0][0] = block.row[0][1] = block.row[1][0] = block.row[1][1] = centre[pixel];
    if (marks[pixel] != 0) {
      BlendBlock(Neighbours3x3(rows, pixel + kRowPadding), marks[pixel], block);
    }
  }
}

void DoubleStrip(const XbrzLaneWork& work, const KernelImages& images, const uint32_t* table,
                 const Strip& strip, int32_t y0, int32_t y1) {
  StripRow storage[4];
  const StripRow* rows[4];
  // rows[0..3] hold source rows y - 1 .. y + 2 for the row y being decided.
  int32_t y = y0 > 0 ? y0 - 1 : y0;
  for (int32_t slot = 0; slot < 4; ++slot) {
    LoadStripRow(work, images.source, table, strip, y - 1 + slot, storage[slot]);
    rows[slot] = &storage[slot];
  }
  const auto next_row = [&] {
    StripRow* freed = const_cast<StripRow*>(rows[0]);
    std::rotate(rows, rows + 1, rows + 4);
    ++y;
    LoadStripRow(work, images.source, table, strip, y + 2, *freed);
    rows[3] = freed;
  };
  VerdictRow verdicts[2];
  VerdictRow* above = &verdicts[0];
  VerdictRow* row = &verdicts[1];
  // The corners of the row above the rectangle mark its first row; above the frame there are
  // none.
  if (y0 > 0) {
    DecideRow(work, rows, strip, *above);
    next_row();
  } else {
    std::memset(above->verdict, 0, sizeof(above->verdict));
  }
  for (;;) {
    DecideRow(work, rows, strip, *row);
    DoubleStripRow(work, images.destination, rows, strip, *above, *row, y);
    if (y == y1) break;
    std::swap(above, row);
    next_row();
  }
}

}  // namespace

void ScaleXbrz2xOn(VectorPath path, const KernelImages& images, int32_t x0, int32_t x1, int32_t y0,
                   int32_t y1) {
  if (!ClipToImage(images.source, x0, x1, y0, y1)) return;
  const XbrzLaneWork& work = path == VectorPath::kAvx2 ? kXbrzAvx2Work : kXbrzSse2Work;
  const uint32_t* table = ColorMagnitudeTable;
  for (int32_t first = x0; first <= x1; first += kStripColumns) {
    const Strip strip{first, std::min(first + kStripColumns - 1, x1), first == x0};
    DoubleStrip(work, images, table, strip, y0, y1);
  }
}

void ScaleXbrz2x(const KernelImages& images, int32_t x0, int32_t x1, int32_t y0, int32_t y1) {
  ScaleXbrz2xOn(FastestVectorPath(), images, x0, x1, y0, y1);
}

}  // namespace qz::scale
