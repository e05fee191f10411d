#pragma once
// The part of building a cursor that is pure picture work, shared by the plug-in's builder and
// the qzprx cursor tool so both give the same pixels: key colour to transparency, enlargement to
// the window's scale, sharpening, and the hot spot's new place.
#include <cstdint>

#include "cursor/argb_image.h"

namespace qz::cursor {

inline constexpr uint32_t kCursorKey = 0x0000FFFF;

// The sprite work image is this many pixels square; larger sprite frames are clipped to its
// top-left part, which is all the game's drawing routine can put into it.
inline constexpr int32_t kSpriteImageSize = 64;

// What the game's window scale makes of a sprite: the cursor's size and the scale factors
// (fx = min(2 gW, oW), fy = min(2 gH, oH) from NT 6 on; 32 and the sprite's size before).
// A width or height of 0 means there is no cursor to show: a sprite without pixels, a game frame
// or picture without pixels, or a picture so small that the cursor shrinks to nothing.
struct CursorScale {
  uint32_t width = 0;
  uint32_t height = 0;
  uint32_t factor_x = 0;
  uint32_t factor_y = 0;
  uint32_t divisor_x = 0;  // gW from NT 6 on, the sprite's width before
  uint32_t divisor_y = 0;
};

struct CursorGeometry {
  int32_t canvas = 0;  // 128 from NT 6 on, 32 before
  bool nt6 = true;
  int32_t game_width = 0;  // "QZ.Rez.X", "QZ.Rez.Y"
  int32_t game_height = 0;
  int32_t picture_width = 0;  // dstW, dstH
  int32_t picture_height = 0;
};

// Sprite sizes above 64 count as 64 (clipped); sizes below 1, and from NT 6 on game or picture
// sizes below 1, give the all-zero scale.
CursorScale ScaleFor(const CursorGeometry& geometry, int32_t sprite_width, int32_t sprite_height);

// The hot spot at the cursor's scale: hot * factor / divisor, unsigned; (0, 0) for the all-zero
// scale.
void ScaleHotSpot(const CursorScale& scale, uint32_t hot_x, uint32_t hot_y, uint32_t* x,
                  uint32_t* y);

// Steps after the sprite frame was drawn into `sprite` (64 x 64, packed, its top-left w x h
// holding the frame over the key colour): key to transparency, enlargement through `enlarged`
// (canvas x canvas, packed) into `result` (canvas x canvas), sharpening of `result`. The cursor
// lies in the top-left width x height of `result`, the rest is transparent. With no cursor to
// show `result` is only cleared and `sprite` is left alone. Where the distance table cannot be
// had, the sprite is resampled to the cursor's size directly, without the edge-aware doubling.
CursorScale ScaleCursorSprite(const CursorGeometry& geometry, const ArgbImage& sprite,
                              int32_t sprite_width, int32_t sprite_height,
                              const ArgbImage& enlarged, const ArgbImage& result);

}  // namespace qz::cursor
