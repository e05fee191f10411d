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

void RunKernelBand(const void* context, int32_t left, int32_t right, int32_t top, int32_t bottom) {
  const auto& call = *static_cast<const KernelCall*>(context);
  call.kernel(*call.images, left, right, top, bottom);
}

void RunStage(scale::Kernel kernel, const scale::KernelImages& images, int32_t left, int32_t right,
              int32_t top, int32_t bottom, int32_t min_rows) {
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

// The scaling stage reads up to three columns right of the 2x image and three rows below it.
// Nothing else writes there; repeating the edge pixels after the stage gives those reads defined
// values and keeps the picture's last row and column from darkening.
void RepeatEdges(const scale::ImageView& doubled, int32_t first_column, int32_t last_column,
                 int32_t first_row, int32_t last_row) {
  constexpr int32_t kReadPast = 3;
  const int32_t width = doubled.width;
  const int32_t height = doubled.height;
  const auto row = [&](int32_t y) {
    return doubled.pixels + static_cast<ptrdiff_t>(y) * doubled.pitch;
  };
  if (last_column == width - 1) {
    for (int32_t y = first_row; y <= last_row; ++y) {
      std::fill_n(row(y) + width, kReadPast, row(y)[width - 1]);
    }
  }
  if (last_row == height - 1) {
    const int32_t end = last_column == width - 1 ? width + kReadPast : last_column + 1;
    for (int32_t y = height; y < height + kReadPast; ++y) {
      std::copy(row(height - 1) + first_column, row(height - 1) + end, row(y) + first_column);
    }
  }
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
    scale::RunFusedInBands(row.scaling_stage, stage, area.left, area.right, area.top, area.bottom,
                           kFirstStageRows);
  } else {
    row.scaling_stage(stage, area.left, area.right, area.top, area.bottom);
  }
  return area;
}

PictureArea PresentDoubled(const FilterRow& row, const PresentationImages& images,
                           const FrameGeometry& geometry, int32_t left, int32_t top, int32_t right,
                           int32_t bottom) {
  const int32_t doubled_width = 2 * geometry.srcW;
  const int32_t doubled_height = 2 * geometry.srcH;
  // The source rectangle grows by two pixels, computed in 64 bits: rectangles from the game may
  // lie anywhere.
  const auto source_left = static_cast<int32_t>(
      std::min<int64_t>(std::max<int64_t>(int64_t{left} - 2, 0), geometry.srcW));
  const auto source_right =
      static_cast<int32_t>(std::min<int64_t>(int64_t{right} + 2, geometry.srcW - 1));
  const auto source_top = static_cast<int32_t>(
      std::min<int64_t>(std::max<int64_t>(int64_t{top} - 2, 0), geometry.srcH));
  const auto source_bottom =
      static_cast<int32_t>(std::min<int64_t>(int64_t{bottom} + 2, geometry.srcH - 1));
  const int64_t doubled_left = std::max<int64_t>(2 * int64_t{left}, 0);
  const int64_t doubled_right = std::min<int64_t>(2 * int64_t{right}, doubled_width - 1);
  const int64_t doubled_top = std::max<int64_t>(2 * int64_t{top}, 0);
  const int64_t doubled_bottom = std::min<int64_t>(2 * int64_t{bottom}, doubled_height - 1);

  const scale::ImageView doubled = Sized(images.doubled, doubled_width, doubled_height);
  const scale::KernelImages first{Sized(images.frame, geometry.srcW, geometry.srcH), doubled};
  if (source_left <= source_right && source_top <= source_bottom) {
    RunStage(row.double_stage, first, source_left, source_right, source_top, source_bottom,
             kFirstStageRows);
    RepeatEdges(doubled, 2 * source_left, 2 * source_right + 1, 2 * source_top,
                2 * source_bottom + 1);
  }

  PictureArea area;
  MapRange(doubled_left, doubled_right, doubled_width, geometry.dstW, area.left, area.right);
  MapRange(doubled_top, doubled_bottom, doubled_height, geometry.dstH, area.top, area.bottom);
  if (IsEmpty(area)) return area;
  const scale::KernelImages second{doubled, Sized(images.output, geometry.dstW, geometry.dstH)};
  scale::Kernel scaling = row.scaling_stage;
  // Without memory for the bicubic weights the frame is still shown, through bilinear.
  if (row.bicubic &&
      !scale::BuildBicubicWeights(doubled_width, doubled_height, geometry.dstW, geometry.dstH)) {
    scaling = scale::ScaleBilinear;
  }
  if (row.finishing_pass != nullptr) {
    scale::RunSharpenInBands(scaling, row.finishing_pass, second, area.left, area.right, area.top,
                             area.bottom, kLaterStageRows, images.boundary_rows);
  } else {
    RunStage(scaling, second, area.left, area.right, area.top, area.bottom, kLaterStageRows);
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
