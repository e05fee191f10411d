#include "cursor/cursor_hooks.h"

#include "core/game_call.h"
#include "core/log.h"
#include "cursor/cursor_cache.h"
#include "cursor/hot_spot_table.h"
#include "cursor/mouse_manager.h"
#include "cursor/sys_cursors.h"

namespace qz::cursor {
namespace {

using core::At;
using core::OriginalFunction;
using core::ThisCall;

constexpr int32_t kLastType = 4;
constexpr int32_t kAnimatedType = 3;
constexpr int64_t kFirstMissingResource = 400;

// Holds the game's cursor lock for a scope.
struct CursorLockHeld {
  explicit CursorLockHeld(void* manager) : lock(game::CursorLock(manager)) {
    EnterCriticalSection(lock);
  }
  ~CursorLockHeld() { LeaveCriticalSection(lock); }
  CursorLockHeld(const CursorLockHeld&) = delete;
  CursorLockHeld& operator=(const CursorLockHeld&) = delete;
  CRITICAL_SECTION* lock;
};

bool DefaultIsCurrent() {
  return TheSysCursors.current.load(std::memory_order_relaxed) == TheSysCursors.default_cursor;
}

void GameSetCursor(void* object, int32_t frame, int32_t type) {
  At<ThisCall<void, int32_t, int32_t>>(OriginalFunction(TheSysCursors.set_cursor_hook))(
      object, frame, type);
}

// The cursor of (row, frame) from the cache, else built from the manager's sprite and kept
// there. Without a sprite nothing is obtained; a slot the cache cannot grow to counts as a
// failed build, since a cursor that cannot be kept would be built anew on every request.
void ObtainBuilt(void* manager, uint32_t row, int32_t type, int32_t frame) {
  HCURSOR* slot = CacheSlot(TheCursorCache, row, static_cast<uint32_t>(frame));
  if (slot != nullptr && *slot != nullptr) {
    TheSysCursors.last_obtained = *slot;
    return;
  }
  void* sprite = game::CursorSprite(manager);
  if (sprite == nullptr) return;
  const HotSpot hot = HotSpotOf(type, frame);
  HCURSOR built =
      slot != nullptr ? BuildCursor(TheSysCursors.builder, sprite, frame, hot.x, hot.y) : nullptr;
  if (slot != nullptr) *slot = built;
  TheSysCursors.last_obtained = built;
}

// Before NT 6 the library has types 0 to 2 ready-made (identifiers up to 399) and the animated
// type 3; everything else is built. Negative types and frames lie outside the cache and the
// library, so they obtain nothing.
void Obtain(void* manager, int32_t requested_type, int32_t type, int32_t frame) {
  if (requested_type < 0 || frame < 0) return;
  if (TheSysCursors.nt6 || type == kLastType) {
    ObtainBuilt(manager, static_cast<uint32_t>(requested_type), type, frame);
    return;
  }
  if (type == kAnimatedType) {
    TheSysCursors.last_obtained = TheSysCursors.animated_cursor;
    return;
  }
  const int64_t identifier = (int64_t{type} + 1) * 100 + frame;
  if (identifier >= kFirstMissingResource) return;
  TheSysCursors.last_obtained =
      LoadCursorA(TheSysCursors.library, MAKEINTRESOURCEA(static_cast<WORD>(identifier)));
}

// No cursor for the request: the default one, and the game's cursor state set back so that it
// loads its sprite anew.
void ShowDefaultCursor(void* object, void* manager, int32_t frame, int32_t type) {
  core::LogLine("N_SetCursor : set sys cursor fail");
  TheSysCursors.current.store(TheSysCursors.default_cursor, std::memory_order_relaxed);
  game::ResetGameCursor(manager);
  game::CursorType(manager) = -1;
  game::CursorFrame(manager) = -1;
  game::ReleaseCursorSprite(manager);
  GameSetCursor(object, frame, type);
  SetCursor(TheSysCursors.default_cursor);
  ShowCursor(TRUE);
}

}  // namespace

void N_SetCursor(void* object, int32_t frame, int32_t type) {
  void* manager = game::MouseManager();
  if (manager == nullptr) {
    GameSetCursor(object, frame, type);
    return;
  }
  CursorLockHeld held(manager);
  const int32_t clipped_type = type > kLastType ? kLastType : type;
  const int32_t clipped_frame = clipped_type == kAnimatedType ? 0 : frame;
  game::BeforeSetCursor(manager);
  GameSetCursor(object, clipped_frame, clipped_type);
  game::CursorType(manager) = clipped_type;
  game::CursorFrame(manager) = clipped_frame;
  Obtain(manager, type, clipped_type, clipped_frame);
  if (TheSysCursors.last_obtained != nullptr) {
    ShowSysCursor(TheSysCursors.last_obtained);
  } else {
    ShowDefaultCursor(object, manager, clipped_frame, clipped_type);
  }
}

// The game calls it on its mouse manager, so the object is the manager.
void N_SetCursorFrame(void* object, int32_t frame) {
  CursorLockHeld held(object);
  if (game::CursorType(object) == kAnimatedType) {
    if (frame >= 0) ObtainBuilt(object, kAnimatedType, kAnimatedType, frame);
    if (TheSysCursors.last_obtained != nullptr) {
      game::CursorFrame(object) = frame;
      ShowSysCursor(TheSysCursors.last_obtained);
    }
  }
  if (DefaultIsCurrent()) {
    At<ThisCall<void, int32_t>>(OriginalFunction(TheSysCursors.set_frame_hook))(object, frame);
  }
}

uint32_t WINAPI N_IfDefaultCursor(core::SplicerHook* hook, void* object, int32_t argument) {
  if (!DefaultIsCurrent()) return 0;
  return At<ThisCall<uint32_t, int32_t>>(OriginalFunction(hook))(object, argument);
}

uint32_t WINAPI N_MarkUnlessDefault(core::SplicerHook* hook, void* object) {
  const auto routine = At<ThisCall<uint32_t>>(OriginalFunction(hook));
  void* manager = game::MouseManager();
  if (DefaultIsCurrent() || manager == nullptr) return routine(object);
  const int32_t saved = game::CursorMark(manager);
  game::CursorMark(manager) = 1;
  const uint32_t result = routine(object);
  game::CursorMark(manager) = saved;
  return result;
}

// The default cursor is also the current one while the routine runs, so that a WM_SETCURSOR
// meanwhile keeps it. Afterwards the earlier current cursor comes back, unless the routine chose
// another.
uint32_t WINAPI N_UnderDefaultCursor(core::SplicerHook* hook, void* object, int32_t argument) {
  HCURSOR default_cursor = TheSysCursors.default_cursor;
  const HCURSOR earlier = TheSysCursors.current.exchange(default_cursor, std::memory_order_relaxed);
  HCURSOR kept = SetCursor(default_cursor);
  const uint32_t result = At<ThisCall<uint32_t, int32_t>>(OriginalFunction(hook))(object, argument);
  SetCursor(kept);
  TheSysCursors.current.compare_exchange_strong(default_cursor, earlier, std::memory_order_relaxed);
  return result;
}

LRESULT WINAPI N_WndProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  HCURSOR current = TheSysCursors.current.load(std::memory_order_relaxed);
  if (message == WM_SETCURSOR && current != nullptr) SetCursor(current);
  using Procedure = LRESULT(WINAPI*)(HWND, UINT, WPARAM, LPARAM);
  return At<Procedure>(OriginalFunction(TheSysCursors.window_procedure_hook))(window, message,
                                                                              wparam, lparam);
}

}  // namespace qz::cursor
