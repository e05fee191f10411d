#pragma once
// The pixel work of the screen transitions and of video frames: weighted mixes of two pictures
// and RGB565 frames converted into 32-bit pixels.
#include <cstdint>

#include "truecolour/pixel_buffer.h"

namespace qz::truecolour {

// Bytes 0-2 of target pixel (x + i, y + j) become (first byte * first_weight + second byte *
// second_weight) >> shift, the two pictures read at (i, j); byte 3 is kept. The rectangle of
// w x h is cut to what lies inside all three pictures. The weights keep every sum a byte.
struct PictureMix {
  const PixelBuffer* first = nullptr;
  int32_t first_weight = 0;
  const PixelBuffer* second = nullptr;
  int32_t second_weight = 0;
  int32_t shift = 0;
};
void MixPictures(const PixelBuffer& target, PixelRectangle rectangle, const PictureMix& mix);

// Converts width x height RGB565 pixels, rows `frame_pitch` bytes apart, to `destination`.
void ConvertRgb565Picture(const uint8_t* frame, int32_t frame_pitch, int32_t width, int32_t height,
                          const PixelBuffer& destination);

}  // namespace qz::truecolour
