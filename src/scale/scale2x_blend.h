#pragma once
// Scale2x with similar instead of equal colours, and corners that take the average of the two
// neighbours that agree instead of one of them.
#include <cstdint>

#include "scale/kernel.h"

namespace qz::scale {

// Source: the frame, srcW x srcH. Destination: the 2x image. The rectangle is in source pixels,
// clipped to the frame; each pixel's 2 x 2 block is written and nothing else. Reads source rows
// y0 - 1 .. y1 + 1 (clamped to the frame). ColorMagnitudeTable must be built.
void Scale2xBlend(const KernelImages& images, int32_t x0, int32_t x1, int32_t y0, int32_t y1);

}  // namespace qz::scale
