#pragma once
// CursorCache: the built cursors by cursor type (row) and frame (entry). Both levels are arrays
// that grow on access past their end and never shrink; their blocks are guarded heap blocks.
#include <windows.h>

#include <cstdint>

namespace qz::cursor {

struct CursorRow {
  HCURSOR* handles = nullptr;  // null: not built
  uint32_t length = 0;
  uint32_t capacity = 0;
};

struct CursorCache {
  CursorRow* rows = nullptr;
  uint32_t length = 0;
  uint32_t capacity = 0;
};
extern CursorCache TheCursorCache;

inline constexpr uint32_t kRowGrowth = 5;
inline constexpr uint32_t kEntryGrowth = 1000;

// The slot of (row, entry), both arrays grown to hold it with new slots null; null only when
// the memory for growing cannot be had (nothing changes then).
HCURSOR* CacheSlot(CursorCache& cache, uint32_t row, uint32_t entry);

// Destroys every cached cursor and empties its slot; returns how many there were.
int32_t DestroyCachedCursors(CursorCache& cache);

// Forgets every cursor built for the old window size, so the next request rebuilds at the new
// one, and asks the game for its current cursor again when one was forgotten.
void ResetCursorCache();

}  // namespace qz::cursor
