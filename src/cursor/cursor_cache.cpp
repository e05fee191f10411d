#include "cursor/cursor_cache.h"

#include <cstring>

#include "core/guarded_alloc.h"
#include "cursor/mouse_manager.h"
#include "cursor/sys_cursors.h"

namespace qz::cursor {

CursorCache TheCursorCache;

namespace {

// Grows `items` to index + 1, its storage in whole steps; false when the memory is not there.
template <typename Item>
bool Grow(Item*& items, uint32_t& length, uint32_t& capacity, uint32_t index, uint32_t step) {
  if (index < length) return true;
  if (index >= UINT32_MAX - step) return false;
  const uint32_t needed = index + 1;
  if (needed > capacity) {
    const uint32_t grown = (needed + step - 1) / step * step;
    if (grown > UINT32_MAX / sizeof(Item)) return false;
    auto* block =
        static_cast<Item*>(core::GuardedAlloc(grown * static_cast<uint32_t>(sizeof(Item))));
    if (block == nullptr) return false;
    std::memset(static_cast<void*>(block), 0, grown * sizeof(Item));
    if (items != nullptr) std::memcpy(static_cast<void*>(block), items, length * sizeof(Item));
    core::GuardedFree(items);
    items = block;
    capacity = grown;
  }
  length = needed;
  return true;
}

// A destroyed handle must not be shown again.
void Forget(HCURSOR cursor) {
  HCURSOR expected = cursor;
  TheSysCursors.current.compare_exchange_strong(expected, nullptr);
  if (TheSysCursors.last_obtained == cursor) TheSysCursors.last_obtained = nullptr;
}

}  // namespace

HCURSOR* CacheSlot(CursorCache& cache, uint32_t row, uint32_t entry) {
  if (!Grow(cache.rows, cache.length, cache.capacity, row, kRowGrowth)) return nullptr;
  CursorRow& handles = cache.rows[row];
  if (!Grow(handles.handles, handles.length, handles.capacity, entry, kEntryGrowth)) {
    return nullptr;
  }
  return &handles.handles[entry];
}

int32_t DestroyCachedCursors(CursorCache& cache) {
  int32_t destroyed = 0;
  for (uint32_t row = 0; row < cache.length; ++row) {
    CursorRow& handles = cache.rows[row];
    for (uint32_t entry = 0; entry < handles.length; ++entry) {
      HCURSOR& cursor = handles.handles[entry];
      if (cursor == nullptr) continue;
      DestroyIcon(cursor);
      Forget(cursor);
      cursor = nullptr;
      ++destroyed;
    }
  }
  return destroyed;
}

// Runs on the window-size handler's thread: the game's cursor lock keeps it apart from the
// cursor routines; entering it again through the set-cursor routine is allowed.
void ResetCursorCache() {
  void* manager = game::MouseManager();
  if (manager == nullptr) {
    DestroyCachedCursors(TheCursorCache);
    return;
  }
  EnterCriticalSection(game::CursorLock(manager));
  if (DestroyCachedCursors(TheCursorCache) > 0) {
    const int32_t type = game::CursorType(manager);
    const int32_t frame = game::CursorFrame(manager);
    game::CursorType(manager) = -1;
    game::CursorFrame(manager) = -1;
    game::ReleaseCursorSprite(manager);
    game::SetGameCursor(manager, frame, type);
  }
  LeaveCriticalSection(game::CursorLock(manager));
}

}  // namespace qz::cursor
