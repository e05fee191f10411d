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

// Entries first_column .. last_column of one source row, `entries` indexed by column, while
// prefetching the same columns of `next_row`.
void PairColumns(const uint32_t* row, const uint32_t* next_row, int32_t first_column,
                 int32_t last_column, PairedColumns* entries) {
  int32_t column = first_column;
  if (column < 0) {
    entries[-1].channels = PairOfPixels(row[0], row[0]);
    column = 0;
  }
  // Interleaving the bytes of columns c .. c + 3 with those of c + 1 .. c + 4 gives the pairs of
  // four entries at once, before widening to 16 bits.
  const __m128i zero = _mm_setzero_si128();
  for (; column + 3 <= last_column; column += 4) {
    const uint32_t* pixels = row + column;
    if ((column & 15) < 4) {  // once per 64 bytes
      _mm_prefetch(reinterpret_cast<const char*>(next_row + column), _MM_HINT_T0);
    }
    const __m128i left = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pixels));
    const __m128i right = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pixels + 1));
    const __m128i low = _mm_unpacklo_epi8(left, right);
    const __m128i high = _mm_unpackhi_epi8(left, right);
    entries[column].channels = _mm_unpacklo_epi8(low, zero);
    entries[column + 1].channels = _mm_unpackhi_epi8(low, zero);
    entries[column + 2].channels = _mm_unpacklo_epi8(high, zero);
    entries[column + 3].channels = _mm_unpackhi_epi8(high, zero);
  }
  for (; column <= last_column; ++column) {
    entries[column].channels = PairOfPixels(row[column], row[column + 1]);
  }
}

// Entries a slot has room for: columns -1 .. last_column.
ptrdiff_t SlotEntries(const PairedRowRing& ring) {
  return static_cast<ptrdiff_t>(ring.last_column) + 2;
}

}  // namespace

PairedRowRing MakePairedRowRing(int32_t first_column, int32_t last_column) {
  PairedRowRing ring;
  ring.first_column = first_column;
  ring.last_column = last_column;
  ring.entries.reset(new (std::nothrow) PairedColumns[4 * static_cast<size_t>(SlotEntries(ring))]);
  return ring;
}

const PairedColumns* PairedRow(PairedRowRing& ring, const ImageView& source, int32_t source_row) {
  const int32_t slot = source_row & 3;
  // Entry of column -1 first.
  PairedColumns* entries = ring.entries.get() + slot * SlotEntries(ring) + 1;
  if (ring.rows_held[slot] != source_row) {
    const uint32_t* row = source.pixels + static_cast<ptrdiff_t>(source_row) * source.pitch;
    // The next row is most likely the next one paired: fetch it meanwhile, if it is there.
    const uint32_t* next_row = source_row + 1 <= source.height + 2 ? row + source.pitch : row;
    PairColumns(row, next_row, ring.first_column, ring.last_column, entries);
    ring.rows_held[slot] = source_row;
  }
  return entries;
}

}  // namespace qz::scale
