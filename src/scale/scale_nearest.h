#pragma once
// Nearest-neighbour enlargement of images.source (srcW x srcH) into images.destination
// (dstW x dstH): pixel (x, y) copies source (x * srcW / dstW, y * srcH / dstH), all 32 bits.
// Threading: reads only the source; writes only the rectangle.
#include <cstdint>

#include "scale/kernel.h"

namespace qz::scale {

// Does nothing while the destination is narrower or lower than one pixel.
void ScaleNearest(const KernelImages& images, int32_t x0, int32_t x1, int32_t y0, int32_t y1);

}  // namespace qz::scale
