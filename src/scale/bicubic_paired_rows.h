#pragma once
// Source rows laid out for the bicubic multiply-adds. Entry c of a paired row holds the bytes of
// columns c and c + 1 side by side as 16-bit lanes, (b c, b c+1, g c, g c+1, r c, r c+1, a c,
// a c+1), so one 16-bit multiply-add by a pair of weights sums two taps of every channel at
// once; the four taps sx - 1 .. sx + 2 of a tap row are entries sx - 1 and sx + 1. Column -1 is
// column 0 (its weight then adds to that of column 0).
#include <emmintrin.h>

#include <cstddef>
#include <cstdint>
#include <memory>

#include "scale/kernel.h"

namespace qz::scale {

struct PairedColumns {
  __m128i channels;
};

// The position of an entry in a paired row, in bytes.
struct EntryBytes {
  ptrdiff_t bytes;
};

inline EntryBytes EntryOfColumn(int32_t column) {
  return {static_cast<ptrdiff_t>(column) * static_cast<ptrdiff_t>(sizeof(PairedColumns))};
}

// The entry `entry` + `after` of a paired row.
inline __m128i EntryAt(const PairedColumns* row, EntryBytes entry, int32_t after) {
  const auto* bytes = reinterpret_cast<const char*>(row) + entry.bytes;
  return reinterpret_cast<const PairedColumns*>(bytes)[after].channels;
}

// Up to four paired source rows, each kept in slot (row & 3) so that the four consecutive tap
// rows of a destination row never evict each other, and a row is paired once for all the
// destination rows that read it. A slot has room for the entries of columns -1 .. last_column
// and holds those of first_column .. last_column.
struct PairedRowRing {
  std::unique_ptr<PairedColumns[]> entries;
  int32_t first_column = 0;
  int32_t last_column = 0;
  int32_t rows_held[4] = {-1, -1, -1, -1};
};

// A ring for entries first_column .. last_column (-1 <= first_column <= last_column); empty when
// the memory cannot be had. The entries read source columns up to last_column + 1.
PairedRowRing MakePairedRowRing(int32_t first_column, int32_t last_column);

// The paired source row `source_row`, indexed by column (entry c at [c], so from [-1]), paired
// now unless the ring holds it already.
const PairedColumns* PairedRow(PairedRowRing& ring, const ImageView& source, int32_t source_row);

}  // namespace qz::scale
