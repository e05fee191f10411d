// The game's routines in the 32-bit build: the stand-in's game image brings the heap and the
// bytes-per-pixel cell; the sprite routine at the game's address jumps to the suite's.
#include "core/game_call.h"
#include "game/game_image.h"
#include "game/game_mouse.h"
#include "game/x86_code.h"
#include "game_routines.h"

namespace qz::contract {
namespace {

constexpr uint32_t kDrawSpriteFrame = 0x47B610;

QZ_GAME_METHODS_BEGIN
void QZ_THISCALL DrawSpriteFrame(void* sprite, int32_t, int32_t, int32_t, int32_t, int32_t width,
                                 int32_t height, uint32_t* pixels, int32_t, int32_t, int32_t,
                                 int32_t, int32_t pitch_bytes, int32_t, int32_t);
QZ_GAME_METHODS_END

void DrawSpriteFrame(void* sprite, int32_t, int32_t, int32_t, int32_t, int32_t width,
                     int32_t height, uint32_t* pixels, int32_t, int32_t, int32_t, int32_t,
                     int32_t pitch_bytes, int32_t, int32_t) {
  DrawTestSprite(sprite, width, height, pixels, pitch_bytes);
}

}  // namespace

bool PlaceGameRoutines() {
  static const bool placed = [] {
    standin::game::MapImage();
    standin::game::SetBytesPerPixel(4);
    standin::CodeWriter(kDrawSpriteFrame)
        .Jump(standin::Address(reinterpret_cast<const void*>(&DrawSpriteFrame)));
    return true;
  }();
  return placed;
}

}  // namespace qz::contract
