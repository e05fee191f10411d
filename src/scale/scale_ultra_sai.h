#pragma once
// UltraSaI: the Super 2xSaI decisions over a 4 x 4 neighbourhood, with similar colours in place
// of equal ones and the actual colours mixed where the classic rule copies a group's colour.
#include <cstdint>

#include "scale/color_magnitude.h"
#include "scale/kernel.h"

namespace qz::scale {

// Source: the frame, srcW x srcH. Destination: the 2x image. The rectangle is in source pixels,
// clipped to the frame; each pixel's 2 x 2 block is written and nothing else. Reads source rows
// y0 - 1 .. y1 + 2 (clamped to the frame). ColorMagnitudeTable must be built.
void ScaleUltraSai(const KernelImages& images, int32_t x0, int32_t x1, int32_t y0, int32_t y1);

// A vote between a and b over c and d: -1 when a is like both, 1 when b is like both and a like
// neither, 0 otherwise.
int32_t SaiGetResult(const Sample& a, const Sample& b, const Sample& c, const Sample& d);

}  // namespace qz::scale
