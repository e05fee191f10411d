#include "present/frame_pipeline.h"

#include <algorithm>

#include "parallel/band_dispatch.h"
#include "present/filter_table.h"
#include "scale/bicubic_weights.h"
#include "scale/scale_bilinear.h"

namespace qz::present {
namespace {

// Band minimums: the first stage of a frame, and every later stage.
constexpr int32_t kFirstStageRows = 6;
constexpr int32_t kLaterStageRows = 4;

struct KernelCall {
  scale::Kernel kernel;
  const scale::KernelImages* images;
};

void RunKernelBand(const void* context, int32_t left, int32_t right, int32_t top,
                   int32_t bottom) {
  const auto& call = *static_cast<const KernelCall*>(context);
  call.kernel(*call.images, left, right, top, bottom);
}

void RunStage(scale::Kernel kernel, const scale::KernelImages& images, int32_t left,
              int32_t right, int32_t top, int32_t bottom, int32_t min_rows) {
  const KernelCall call{kernel, &images};
  parallel::RunBands(RunKernelBand, &call, left, right, top, bottom, min_rows);
}

// value * numerator / denominator in 64 bits, truncated toward zero, then limited to the int32
// range; rectangles from the game may lie anywhere.
int32_t Scale(int64_t value, int64_t numerator, int64_t denominator) {
  const int64_t scaled = value * numerator / denominator;
  return static_cast<int32_t>(std::clamp<int64_t>(scaled, INT32_MIN, INT32_MAX));
}

// Grows a range of one axis by one unit on each side and maps it onto the picture.
void MapRange(int64_t first, int64_t last, int64_t from_size, int32_t to_size, int32_t& out_first,
              int32_t& out_last) {
  out_first = Scale(std::max<int64_t>(first - 1, 0), to_size, from_size);
  out_last = std::min(Scale(last + 1, to_size, from_size), to_size - 1);
}

scale::ImageView Sized(scale::ImageView view, int32_t width, int32_t height) {
  view.width = width;
  view.height = height;
  return view;
}

PictureArea PresentSingleStage(const FilterRow& row, const PresentationImages& images,
                               const FrameGeometry& geometry, int32_t left, int32_t top,
                               int32_t right, int32_t bottom) {
  PictureArea area;
  MapRange(left, right, geometry.srcW, geometry.dstW, area.left, area.right);
  MapRange(top, bottom, geometry.srcH, geometry.dstH, area.top, area.bottom);
  if (IsEmpty(area)) return area;
  const scale::KernelImages stage{Sized(images.frame, geometry.srcW, geometry.srcH),
                                  Sized(images.output, geometry.dstW, geometry.dstH)};
  if (row.banded) {
    scale::RunFusedInBands(row.scaling_stage, stage, area.left, area.right, area.top,
                           area.bottom, kFirstStageRows);
  } else {
    row.scaling_stage(stage, area.left, area.right, area.top, area.bottom);
  }
  return area;
}

PictureArea PresentDoubled(const FilterRow& row, const PresentationImages& images,
                           const FrameGeometry& geometry, int32_t left, int32_t top,
                           int32_t right, int32_t bottom) {
  const int32_t doubled_width = 2 * geometry.srcW;
  const int32_t doubled_height = 2 * geometry.srcH;
  const int32_t source_left = std::max(left - 2, 0);
  const auto source_right =
      static_cast<int32_t>(std::min<int64_t>(int64_t{right} + 2, geometry.srcW - 1));
  const int32_t source_top = std::max(top - 2, 0);
  const auto source_bottom =
      static_cast<int32_t>(std::min<int64_t>(int64_t{bottom} + 2, geometry.srcH - 1));
  const int64_t doubled_left = std::max<int64_t>(2 * int64_t{left}, 0);
  const int64_t doubled_right = std::min<int64_t>(2 * int64_t{right}, doubled_width - 1);
  const int64_t doubled_top = std::max<int64_t>(2 * int64_t{top}, 0);
  const int64_t doubled_bottom = std::min<int64_t>(2 * int64_t{bottom}, doubled_height - 1);

  const scale::ImageView doubled = Sized(images.doubled, doubled_width, doubled_height);
  const scale::KernelImages first{Sized(images.frame, geometry.srcW, geometry.srcH), doubled};
  if (source_left <= source_right) {
    RunStage(row.double_stage, first, source_left, source_right, source_top, source_bottom,
             kFirstStageRows);
  }

  PictureArea area;
  MapRange(doubled_left, doubled_right, doubled_width, geometry.dstW, area.left, area.right);
  MapRange(doubled_top, doubled_bottom, doubled_height, geometry.dstH, area.top, area.bottom);
  if (IsEmpty(area)) return area;
  const scale::KernelImages second{doubled, Sized(images.output, geometry.dstW, geometry.dstH)};
  scale::Kernel scaling = row.scaling_stage;
  // Without memory for the bicubic weights the frame is still shown, through bilinear.
  if (row.bicubic && !scale::BuildBicubicWeights(doubled_width, doubled_height, geometry.dstW,
                                                 geometry.dstH)) {
    scaling = scale::ScaleBilinear;
  }
  RunStage(scaling, second, area.left, area.right, area.top, area.bottom, kLaterStageRows);
  if (row.finishing_pass != nullptr) {
    scale::RunSharpenInBands(row.finishing_pass, second, area.left, area.right, area.top,
                             area.bottom, kLaterStageRows, images.boundary_rows);
  }
  return area;
}

}  // namespace

PictureArea PresentRectangle(int32_t filter, const PresentationImages& images,
                             const FrameGeometry& geometry, int32_t left, int32_t top,
                             int32_t right, int32_t bottom) {
  if (geometry.srcW < 1 || geometry.srcH < 1 || geometry.dstW < 1 || geometry.dstH < 1) {
    return {};
  }
  // A filter whose kernels cannot run (no colour table) never reaches them.
  const FilterRow& row = Filter(FilterInForce(filter));
  if (row.double_stage == nullptr) {
    return PresentSingleStage(row, images, geometry, left, top, right, bottom);
  }
  return PresentDoubled(row, images, geometry, left, top, right, bottom);
}

}  // namespace qz::present
