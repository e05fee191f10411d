#pragma once
// CursorImage: a work image in the layout of the game's own bitmap object, taken from the game's
// heap. Nothing hands these images to the game; the layout keeps them interchangeable with the
// game's bitmaps.
#include <cstddef>
#include <cstdint>

#include "cursor/argb_image.h"

namespace qz::cursor {

struct CursorImage {
  uint32_t class_table;  // the game's bitmap class table
  char name[12];         // empty
  uint8_t unused_10[8];
  uint32_t reserved;    // 0
  int32_t bufferSize;   // pitch * height
  int32_t bufferSize2;  // pitch * height
  int32_t width;
  int32_t height;
  int32_t pitch;  // bytes
  uint8_t* pixels;
  uint8_t borrowed;  // 1 when the pixels belong to someone else
  uint8_t unused_35[3];
};
static_assert(sizeof(void*) != 4 ||
                  (sizeof(CursorImage) == 56 && offsetof(CursorImage, bufferSize) == 0x1C &&
                   offsetof(CursorImage, width) == 0x24 && offsetof(CursorImage, pitch) == 0x2C &&
                   offsetof(CursorImage, pixels) == 0x30 &&
                   offsetof(CursorImage, borrowed) == 0x34),
              "CursorImage must have the game's bitmap layout");

// A width x height image with uninitialised pixels and rows of the game's colour depth (32 bits
// when its bytes-per-pixel byte says 4, else 16); null for a size below 1 or without memory.
CursorImage* CreateCursorImage(int32_t width, int32_t height);
// Gives back the pixels (unless borrowed) and the record; ignores null.
void DestroyCursorImage(CursorImage* image);

// The image's pixels for the picture operations; its rows must be 32-bit ones.
bool HasArgbRows(const CursorImage& image);
ArgbImage ArgbView(const CursorImage& image);

}  // namespace qz::cursor
