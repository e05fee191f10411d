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

// Rows a band scales before it sharpens them: few enough that the rows just written are still in
// the caches when the pass reads them back.
constexpr int32_t kChunkRows = 32;

struct SharpenBands {
  Kernel scaling;  // null when the picture is already there
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

// Scales rows top .. bottom and sharpens rows top .. last_sharpened, a chunk at a time; `kept`,
// when given, receives row `top` as it was before the pass. A row is sharpened only once the row
// below it is scaled (or lies past `bottom`), so the pass reads what it would read after the
// whole scaling stage.
void ScaleAndSharpenRows(const SharpenBands& bands, int32_t left, int32_t right, int32_t top,
                         int32_t bottom, int32_t last_sharpened, uint32_t* kept) {
  const KernelImages& images = *bands.images;
  const auto keep_first_row = [&] {
    if (kept != nullptr) {
      std::memcpy(kept, PictureRow(images.destination, top, left),
                  sizeof(uint32_t) * KeptWidth(left, right));
    }
  };
  if (bands.scaling == nullptr) {
    keep_first_row();
    if (top <= last_sharpened) bands.pass(images, left, right, top, last_sharpened);
    return;
  }
  int32_t unsharpened = top;
  for (int32_t chunk = top; chunk <= bottom; chunk += kChunkRows) {
    const int32_t chunk_bottom = std::min(chunk + kChunkRows - 1, bottom);
    bands.scaling(images, left, right, chunk, chunk_bottom);
    if (chunk == top) keep_first_row();
    const int32_t ready = chunk_bottom == bottom ? last_sharpened : chunk_bottom - 1;
    if (unsharpened <= ready) bands.pass(images, left, right, unsharpened, ready);
    unsharpened = std::max(unsharpened, ready + 1);
  }
}

void RunSharpenBand(const void* context, int32_t left, int32_t right, int32_t top, int32_t bottom) {
  const auto& bands = *static_cast<const SharpenBands*>(context);
  const int32_t index = BandIndex(*bands.plan, top);
  const bool last_band = index == bands.plan->count - 1;
  // The band above reads this band's first row only through the kept copy, after the wait; and
  // this band's last row waits for the same reason.
  ScaleAndSharpenRows(bands, left, right, top, bottom, last_band ? bottom : bottom - 1,
                      index > 0 ? KeptRow(*bands.scratch, index) : nullptr);
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

void RunSharpenInBands(Kernel scaling, Kernel pass, const KernelImages& images, int32_t x0,
                       int32_t x1, int32_t y0, int32_t y1, int32_t min_rows,
                       const RowScratch& scratch) {
  if (x1 < x0 || y1 < y0) return;
  const parallel::BandPlan plan = PlanRows(x0, x1, y0, y1, min_rows);
  const bool scratch_fits = scratch.pixels != nullptr && scratch.rows >= plan.count - 1 &&
                            scratch.pitch >= KeptWidth(x0, x1);
  const SharpenBands bands{scaling, pass, &images, &plan, &scratch};
  if (plan.count <= 1 || !scratch_fits) {
    ScaleAndSharpenRows(bands, x0, x1, y0, y1, y1, nullptr);
    return;
  }
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
