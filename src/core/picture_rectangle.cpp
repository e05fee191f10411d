#include "core/picture_rectangle.h"

#include "core/settings.h"

namespace qz::core {

PictureRectangle FitPicture(int32_t frame_width, int32_t frame_height, int32_t area_width,
                            int32_t area_height) {
  if (frame_width <= 0 || frame_height <= 0) return {};
  const double frame_ratio = static_cast<double>(frame_width) / frame_height;
  // An area of height 0 is infinitely wide (or, 0 x 0, unordered): IEEE division says which.
  const double area_ratio = static_cast<double>(area_width) / area_height;
  // 64-bit products: a 7680-pixel area times a 4096-pixel frame passes 2^31.
  if (frame_ratio < area_ratio) {
    const auto width = static_cast<int32_t>(int64_t{frame_width} * area_height / frame_height);
    return {(area_width - width) / 2, 0, width, area_height};
  }
  const auto height = static_cast<int32_t>(int64_t{frame_height} * area_width / frame_width);
  return {0, (area_height - height) / 2, area_width, height};
}

void SetPicture(const PictureRectangle& picture) {
  dstX = picture.x;
  dstY = picture.y;
  dstW = picture.width;
  dstH = picture.height;
}

}  // namespace qz::core
