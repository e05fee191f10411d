#pragma once
// Bilinear enlargement of images.source (W x H) into images.destination (dstW x dstH), alone or
// fused with the sharpening of the row above. Steps are ((W << 16) + 32768) / dstW in 16.16 and
// likewise for rows, with no half-pixel offset; weights are the 8 bits below the binary point.
#include <cstdint>

#include "scale/kernel.h"

namespace qz::scale {

// The right and lower neighbours are never clamped: reads source columns up to W + 1 and rows up
// to H + 1. Threading: writes only the rectangle. Nothing happens while dstW or dstH is below 1.
void ScaleBilinear(const KernelImages& images, int32_t x0, int32_t x1, int32_t y0, int32_t y1);

// Fused kernels: interpolate row y and sharpen row y - 1 with row y's values as its lower
// neighbours; the rectangle's last row stays plain bilinear until a call that starts below it.
// Threading: also rewrites row y0 - 1 when y0 > 0 (it must already hold its own bilinear values)
// and reads column x1 + 1 of rows y0 - 1 .. y1 - 1.
// "Sharper": (10P - R - D) / 8 per channel, limited to 0..255.
void ScaleBilinearSharp(const KernelImages& images, int32_t x0, int32_t x1, int32_t y0, int32_t y1);
// "SharperX2": P + P/2 - R/4 - D/4 per channel, limited to 0..255.
void ScaleBilinearSharpX2(const KernelImages& images, int32_t x0, int32_t x1, int32_t y0,
                          int32_t y1);

// What a fused call does about the row above its first row. Banded runs need the other two: a
// later band must not touch the row above it, which belongs to the band above, and that boundary
// row is finished once every band is done.
enum class FirstRow {
  kSharpensRowAbove,      // as the kernels above: row y0 - 1 is sharpened when y0 > 0
  kHasNoRowAbove,         // as if y0 were the picture's first row: row y0 - 1 is not touched
  kOnlySharpensRowAbove,  // row y0 is interpolated only to sharpen row y0 - 1, and not stored
};

using FusedKernel = void (*)(const KernelImages& images, int32_t x0, int32_t x1, int32_t y0,
                             int32_t y1, FirstRow first_row);

void ScaleBilinearSharpRows(const KernelImages& images, int32_t x0, int32_t x1, int32_t y0,
                            int32_t y1, FirstRow first_row);
void ScaleBilinearSharpX2Rows(const KernelImages& images, int32_t x0, int32_t x1, int32_t y0,
                              int32_t y1, FirstRow first_row);

// The flagged form of ScaleBilinearSharp or ScaleBilinearSharpX2; null for any other kernel.
FusedKernel FusedFormOf(Kernel kernel);

}  // namespace qz::scale
