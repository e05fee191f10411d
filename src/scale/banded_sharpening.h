#pragma once
// Bands for the two kinds of kernel that touch a row next to their rectangle, giving the very
// picture of one call over the whole rectangle whatever the number of bands. Each plans with
// PlanBands(y0, y1, x0, x1, WorkerCount, min_rows), min_rows taken as at least 1; with one band
// the kernel is one direct call.
#include <cstdint>

#include "scale/kernel.h"

namespace qz::scale {

// Runs ScaleBilinearSharp or ScaleBilinearSharpX2 in bands. Band 0 sharpens the row above y0 as
// one call would; later bands leave the row above them to the band above, and once all bands are
// done the calling thread sharpens each boundary row from a recomputed bilinear row below it.
// Threading: as the kernel (rewrites row y0 - 1 when y0 > 0). Any other kernel runs as one call.
void RunFusedInBands(Kernel fused, const KernelImages& images, int32_t x0, int32_t x1, int32_t y0,
                     int32_t y1, int32_t min_rows);

// Rows owned by the caller, allocated once, where the bands after the first keep their first
// row as it was before they rewrote it.
struct RowScratch {
  uint32_t* pixels;
  int32_t pitch;
  int32_t rows;
};

// Runs a scaling kernel over the rectangle and then an in-place pass (SharpenPass,
// SharpenPassX2, or any pass that reads column x1 + 1 and row y1 + 1 and writes only its
// rectangle) over it, in bands, giving the picture of the two as one call each. `scaling` may
// be null when the picture is already there; it must write only the rows it is given and read
// nothing of the picture. Each band scales and sharpens its rows a few at a time, while they are
// still in the caches, and leaves its last row to the calling thread, which finishes it after
// all bands are done, with the band below's first row as it was. `scratch` needs one row per
// band after the first (kMaxBands - 1 always suffice) of at least x1 - x0 + 2 pixels; with less
// everything runs on the calling thread.
// Threading: as the kernels.
void RunSharpenInBands(Kernel scaling, Kernel pass, const KernelImages& images, int32_t x0,
                       int32_t x1, int32_t y0, int32_t y1, int32_t min_rows,
                       const RowScratch& scratch);

}  // namespace qz::scale
