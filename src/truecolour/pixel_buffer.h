#pragma once
// The plain records the bitmap, image, text and transition drawers work on: a 32-bit picture in
// memory and rectangles on it. The hook layer fills them from the game's objects.
#include <cstdint>

namespace qz::truecolour {

// A bitmap's pixels or any 32-bit buffer the game hands over.
struct PixelBuffer {
  uint32_t* pixels = nullptr;  // pixel (0, 0)
  int32_t width = 0;
  int32_t height = 0;
  int32_t pitch = 0;  // bytes per row
};

struct PixelRectangle {
  int32_t x = 0;
  int32_t y = 0;
  int32_t w = 0;
  int32_t h = 0;
};

// A copy of a source rectangle of w x h at (sx, sy) to (dx, dy) of a 32-bit destination of
// destW x destH pixels.
struct BufferCopy {
  int32_t sx = 0;
  int32_t sy = 0;
  int32_t w = 0;
  int32_t h = 0;
  uint32_t* dst = nullptr;  // destination pixel (0, 0)
  int32_t dx = 0;
  int32_t dy = 0;
  int32_t destW = 0;
  int32_t destH = 0;
  int32_t dstPitch = 0;  // bytes per destination row
};

inline uint32_t* PixelRow(const PixelBuffer& buffer, int32_t y) {
  return reinterpret_cast<uint32_t*>(reinterpret_cast<uint8_t*>(buffer.pixels) +
                                     static_cast<intptr_t>(y) * buffer.pitch);
}

inline uint32_t* DestinationRow(const BufferCopy& copy, int32_t row) {
  return reinterpret_cast<uint32_t*>(reinterpret_cast<uint8_t*>(copy.dst) +
                                     static_cast<intptr_t>(copy.dy + row) * copy.dstPitch) +
         copy.dx;
}

}  // namespace qz::truecolour
