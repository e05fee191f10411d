#pragma once
// The plain records the sprite-frame drawers work on. The hook layer fills them from the game's
// frame object and call arguments, so nothing below it reads the game's structures.
#include <cstdint>

namespace qz::truecolour {

// A sprite frame: a cell of fullWidth × fullHeight holding a stored rectangle of width × height
// at (left, top). `data` holds the stored pixels in layout `type` (0 plain, 1 to 3 run-length
// coded); rowStride is used by type 0 only.
struct FrameDescription {
  uint32_t type = 0;
  int32_t fullWidth = 0;
  int32_t fullHeight = 0;
  int32_t width = 0;
  int32_t height = 0;
  int32_t left = 0;
  int32_t top = 0;
  int32_t rowStride = 0;
  const uint8_t* data = nullptr;
};

// The arguments every draw routine shares: the requested rectangle in cell coordinates, where its
// top-left corner lands, the destination's limits and the game's palette.
struct FrameRequest {
  int32_t srcX = 0;
  int32_t srcY = 0;
  int32_t w = 0;
  int32_t h = 0;
  uint32_t* dst = nullptr;  // destination pixel (0, 0)
  int32_t destX = 0;
  int32_t destY = 0;
  int32_t destW = 0;
  int32_t destH = 0;
  int32_t pitch = 0;                  // bytes per destination row, a multiple of 4
  const uint16_t* palette = nullptr;  // 256 RGB565 colours; the shadow-only routines never read it
};

}  // namespace qz::truecolour
