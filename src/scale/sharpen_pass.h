#pragma once
// In-place sharpening of the finished picture, images.destination; the source is not used.
// Threading: reads column x1 + 1 and row y1 + 1 besides the rectangle; writes only the rectangle.
#include <cstdint>

#include "scale/kernel.h"

namespace qz::scale {

// "Sharper": each channel becomes (10P - R - D) / 8, limited to 0..255, where R is the right and
// D the lower neighbour as they were before the pass.
void SharpenPass(const KernelImages& images, int32_t x0, int32_t x1, int32_t y0, int32_t y1);

// "SharperX2": each channel becomes (6P - R - D) / 4, limited to 0..255.
void SharpenPassX2(const KernelImages& images, int32_t x0, int32_t x1, int32_t y0, int32_t y1);

}  // namespace qz::scale
