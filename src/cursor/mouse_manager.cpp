#include "cursor/mouse_manager.h"

#include "core/game_call.h"

namespace qz::cursor::game {

using core::At;
using core::ThisCall;

void ReleaseCursorSprite(void* manager) {
  void*& sprite = CursorSprite(manager);
  if (sprite == nullptr) return;
  void* const* table = *static_cast<void* const* const*>(sprite);
  At<ThisCall<void>>(table[kSpriteReleaseSlot])(sprite);
  sprite = nullptr;
}

void DrawSpriteFrame(void* sprite, int32_t frame, int32_t width, int32_t height, uint32_t* pixels,
                     int32_t image_width, int32_t image_height, int32_t pitch_bytes) {
  using Draw = ThisCall<void, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, uint32_t*,
                        int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t>;
  // group 0, source (0, 0, width, height), destination at (0, 0), then 0 and 1
  At<Draw>(kDrawSpriteFrame)(sprite, 0, frame, 0, 0, width, height, pixels, 0, 0, image_width,
                             image_height, pitch_bytes, 0, 1);
}

void BeforeSetCursor(void* manager) {
  At<ThisCall<void>>(kBeforeSetCursor)(manager);
}

void ResetGameCursor(void* manager) {
  At<ThisCall<void, int32_t>>(kCursorReset)(manager, 1);
}

void SetGameCursor(void* manager, int32_t frame, int32_t type) {
  At<ThisCall<void, int32_t, int32_t>>(kSetCursor)(manager, frame, type);
}

}  // namespace qz::cursor::game
