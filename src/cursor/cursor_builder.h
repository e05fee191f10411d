#pragma once
// The cursor builder: one canvas, made once, on which a frame of a game cursor sprite becomes a
// Windows cursor with an alpha channel at the window's scale.
#include <windows.h>

#include <cstdint>

#include "cursor/cursor_image_record.h"

namespace qz::cursor {

struct CursorBuilder {
  int32_t width;  // the canvas, S x S
  int32_t height;
  HDC screen;
  HBITMAP colour;  // 32-bit DIB section with alpha, bottom-up rows
  uint32_t* colour_bits;
  HBITMAP mask;           // monochrome
  CursorImage* sprite;    // P: the drawn frame, 64 x 64
  CursorImage* enlarged;  // X: S x S
  CursorImage* result;    // R: S x S
  ICONINFO icon;          // filled anew for each cursor
};

// S is 128 from NT 6 on, where the doubled sprite image fits the canvas, and 32 before. Null
// when any part cannot be made; nothing made is left behind then.
CursorBuilder* CreateCursorBuilder(int32_t canvas_size);

// Draws `frame` of the game's sprite and makes it a cursor with the hot spot (hot_x, hot_y)
// given at the sprite's own size. Null when the cursor cannot be made: a sprite without pixels,
// a cursor scaled down to nothing, surfaces of the game that are not 32-bit, or a refusal of
// CreateIconIndirect. Frames larger than 64 x 64 are clipped to their top-left 64 x 64.
HCURSOR BuildCursor(CursorBuilder* builder, void* sprite, int32_t frame, uint32_t hot_x,
                    uint32_t hot_y);

}  // namespace qz::cursor
