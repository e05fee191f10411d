#pragma once
// xBRZ at scale 2: doubles the game frame, rounding the corners and smoothing the diagonal edges
// that pixel art draws as steps.
#include <cstdint>

#include "scale/kernel.h"
#include "scale/vector_path.h"

namespace qz::scale {

// Source: the frame, srcW x srcH. Destination: the 2x image, pitch at least 2 * srcW. The
// rectangle is in source pixels, clipped to the frame; each pixel's 2 x 2 block is written.
// Reads source rows y0 - 2 .. y1 + 2 (clamped to the frame). Writes the blocks of the rectangle
// and nothing else: the corner marks it carries from row to row live on the stack. The marks of
// the row above are recomputed, so a call never depends on the rows another band writes and the
// result is the same however the rows are cut. ColorMagnitudeTable must be built.
void ScaleXbrz2x(const KernelImages& images, int32_t x0, int32_t x1, int32_t y0, int32_t y1);

// The same with the given instruction set, which the machine must run; every path gives the
// same picture.
void ScaleXbrz2xOn(VectorPath path, const KernelImages& images, int32_t x0, int32_t x1, int32_t y0,
                   int32_t y1);

}  // namespace qz::scale
