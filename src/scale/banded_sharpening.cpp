#include "scale/banded_sharpening.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

#include "parallel/band_dispatch.h"
#include "parallel/band_plan.h"
#include "parallel/worker_count.h"
#include "scale/scale_bilinear.h"

namespace qz::scale {
namespace {

// At least one row a band, so a band's index follows from its first row.
parallel::BandPlan PlanRows(int32_t x0, int32_t x1, int32_t y0, int32_t y1, int32_t min_rows) {
  return parallel::PlanBands(y0, y1, x0, x1, parallel::WorkerCount, std::max(min_rows, 1));
}

int32_t BandIndex(const parallel::BandPlan& plan, int32_t top) {
  return (top - plan.first) / plan.chunk;
}

struct FusedBands {
  FusedKernel kernel;
  const KernelImages* images;
  int32_t first;
};

void RunFusedBand(const void* context, int32_t left, int32_t right, int32_t top, int32_t bottom) {
  const auto& bands = *static_cast<const FusedBands*>(context);
  bands.kernel(*bands.images, left, right, top, bottom,
               top == bands.first ? FirstRow::kSharpensRowAbove : FirstRow::kHasNoRowAbove);
}

struct SharpenBands {
  Kernel pass;
  const KernelImages* images;
  const parallel::BandPlan* plan;
  const RowScratch* scratch;
};

uint32_t* PictureRow(const ImageView& picture, int32_t row, int32_t column) {
  return picture.pixels + static_cast<ptrdiff_t>(row) * picture.pitch + column;
}

// The kept first row of band `index` (1 .. count - 1).
uint32_t* KeptRow(const RowScratch& scratch, int32_t index) {
  return scratch.pixels + static_cast<ptrdiff_t>(index - 1) * scratch.pitch;
}

// Columns x0 .. x1 + 1: everything of a row that a pass over the row above may read.
int32_t KeptWidth(int32_t x0, int32_t x1) {
  return x1 - x0 + 2;
}

void RunSharpenBand(const void* context, int32_t left, int32_t right, int32_t top, int32_t bottom) {
  const auto& bands = *static_cast<const SharpenBands*>(context);
  const int32_t index = BandIndex(*bands.plan, top);
  const bool last_band = index == bands.plan->count - 1;
  if (index > 0) {
    std::memcpy(KeptRow(*bands.scratch, index), PictureRow(bands.images->destination, top, left),
                sizeof(uint32_t) * KeptWidth(left, right));
  }
  // The band above reads this band's first row only through the kept copy, after the wait; and
  // this band's last row waits for the same reason.
  bands.pass(*bands.images, left, right, top, last_band ? bottom : bottom - 1);
}

}  // namespace

void RunFusedInBands(Kernel fused, const KernelImages& images, int32_t x0, int32_t x1, int32_t y0,
                     int32_t y1, int32_t min_rows) {
  const FusedKernel kernel = FusedFormOf(fused);
  const parallel::BandPlan plan = PlanRows(x0, x1, y0, y1, min_rows);
  if (kernel == nullptr || plan.count <= 1 || x1 < x0) {
    fused(images, x0, x1, y0, y1);
    return;
  }
  const FusedBands bands{kernel, &images, y0};
  parallel::RunPlan(plan, RunFusedBand, &bands);
  // Each boundary row still holds its plain values; the band below has since sharpened its own
  // first row, so that row's plain values are interpolated again.
  for (int32_t index = 1; index < plan.count; ++index) {
    const int32_t top = parallel::BandRows(plan, index).top;
    kernel(images, x0, x1, top, top, FirstRow::kOnlySharpensRowAbove);
  }
}

void RunSharpenInBands(Kernel pass, const KernelImages& images, int32_t x0, int32_t x1, int32_t y0,
                       int32_t y1, int32_t min_rows, const RowScratch& scratch) {
  const parallel::BandPlan plan = PlanRows(x0, x1, y0, y1, min_rows);
  const bool scratch_fits = scratch.pixels != nullptr && scratch.rows >= plan.count - 1 &&
                            scratch.pitch >= KeptWidth(x0, x1);
  if (plan.count <= 1 || x1 < x0 || !scratch_fits) {
    pass(images, x0, x1, y0, y1);
    return;
  }
  const SharpenBands bands{pass, &images, &plan, &scratch};
  parallel::RunPlan(plan, RunSharpenBand, &bands);
  // The pass itself finishes each boundary row: the kept row is swapped in below it for the
  // call and the sharpened row swapped back.
  for (int32_t index = 1; index < plan.count; ++index) {
    const int32_t top = parallel::BandRows(plan, index).top;
    uint32_t* below = PictureRow(images.destination, top, x0);
    uint32_t* kept = KeptRow(scratch, index);
    std::swap_ranges(below, below + KeptWidth(x0, x1), kept);
    pass(images, x0, x1, top - 1, top - 1);
    std::swap_ranges(below, below + KeptWidth(x0, x1), kept);
  }
}

}  // namespace qz::scale
