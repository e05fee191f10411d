#pragma once
// Where the enlarged picture sits in an area: as large as the frame's aspect allows, centred,
// with black borders on the two remaining sides.
#include <cstdint>

namespace qz::core {

struct PictureRectangle {
  int32_t x = 0;
  int32_t y = 0;
  int32_t width = 0;
  int32_t height = 0;
};

// Frame of frame_width x frame_height in an area of area_width x area_height. A frame with a side
// below 1 (the host has not published its size) gives an empty picture, so nothing is drawn.
PictureRectangle FitPicture(int32_t frame_width, int32_t frame_height, int32_t area_width,
                            int32_t area_height);

// Stores a rectangle into dstX, dstY, dstW, dstH.
void SetPicture(const PictureRectangle& picture);

}  // namespace qz::core
