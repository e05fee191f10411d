#include "scale/bicubic_paired_rows.h"

#include <cstddef>
#include <new>

namespace qz::scale {
namespace {

// Entry of columns `left` and `right`, one pixel each.
__m128i PairOfPixels(uint32_t left, uint32_t right) {
  const __m128i bytes = _mm_unpacklo_epi8(_mm_cvtsi32_si128(static_cast<int>(left)),
                                          _mm_cvtsi32_si128(static_cast<int>(right)));
  return _mm_unpacklo_epi8(bytes, _mm_setzero_si128());
}

void PairColumns(const uint32_t* row, int32_t first_column, int32_t entry_count,
                 PairedColumns* entries) {
  int32_t i = 0;
  if (first_column < 0) {
    entries[0].channels = PairOfPixels(row[0], row[0]);
    i = 1;
  }
  // Interleaving the bytes of columns c .. c + 3 with those of c + 1 .. c + 4 gives the pairs of
  // four entries at once, before widening to 16 bits.
  const __m128i zero = _mm_setzero_si128();
  for (; i + 4 <= entry_count; i += 4) {
    const uint32_t* pixels = row + first_column + i;
    const __m128i left = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pixels));
    const __m128i right = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pixels + 1));
    const __m128i low = _mm_unpacklo_epi8(left, right);
    const __m128i high = _mm_unpackhi_epi8(left, right);
    entries[i].channels = _mm_unpacklo_epi8(low, zero);
    entries[i + 1].channels = _mm_unpackhi_epi8(low, zero);
    entries[i + 2].channels = _mm_unpacklo_epi8(high, zero);
    entries[i + 3].channels = _mm_unpackhi_epi8(high, zero);
  }
  for (; i < entry_count; ++i) {
    const uint32_t* pixels = row + first_column + i;
    entries[i].channels = PairOfPixels(pixels[0], pixels[1]);
  }
}

}  // namespace

PairedRowRing MakePairedRowRing(int32_t first_column, int32_t last_column) {
  PairedRowRing ring;
  ring.first_column = first_column;
  ring.entry_count = last_column - first_column + 1;
  ring.entries.reset(new (std::nothrow) PairedColumns[4 * static_cast<size_t>(ring.entry_count)]);
  return ring;
}

const PairedColumns* PairedRow(PairedRowRing& ring, const ImageView& source, int32_t source_row) {
  const int32_t slot = source_row & 3;
  PairedColumns* entries = ring.entries.get() + static_cast<ptrdiff_t>(slot) * ring.entry_count;
  if (ring.rows_held[slot] != source_row) {
    PairColumns(source.pixels + static_cast<ptrdiff_t>(source_row) * source.pitch,
                ring.first_column, ring.entry_count, entries);
    ring.rows_held[slot] = source_row;
  }
  return entries;
}

}  // namespace qz::scale
