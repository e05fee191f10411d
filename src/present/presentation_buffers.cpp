#include "present/presentation_buffers.h"

#include <algorithm>

#include "core/picture_rectangle.h"
#include "parallel/worker_count.h"

namespace qz::present {
namespace {

constexpr int32_t kSpare = 3;
constexpr int32_t kFrameMargin = 4;

}  // namespace

PresentationBuffers MakePresentationBuffers(int32_t frame_width, int32_t frame_height,
                                            int32_t window_width, int32_t window_height) {
  PresentationBuffers buffers;
  const core::PictureRectangle picture =
      core::FitPicture(frame_width, frame_height, window_width, window_height);
  buffers.geometry = {frame_width, frame_height, picture.width, picture.height};
  buffers.frame_pitch = frame_width + kFrameMargin + kSpare;
  buffers.frame.assign(
      static_cast<size_t>(buffers.frame_pitch) * (frame_height + kFrameMargin + kSpare), 0);
  const int32_t width = std::max(2 * frame_width, window_width);
  const int32_t height = std::max(2 * frame_height, window_height);
  buffers.scaled_pitch = width + kSpare;
  const auto scaled_size = static_cast<size_t>(buffers.scaled_pitch) * (height + kSpare);
  buffers.doubled.assign(scaled_size, 0);
  buffers.output.assign(scaled_size, 0);
  buffers.boundary_rows.assign(
      static_cast<size_t>(buffers.scaled_pitch) * (parallel::kMaxBands - 1), 0);
  return buffers;
}

PresentationImages ImagesOf(PresentationBuffers& buffers) {
  return {{buffers.frame.data(), buffers.frame_pitch, 0, 0},
          {buffers.doubled.data(), buffers.scaled_pitch, 0, 0},
          {buffers.output.data(), buffers.scaled_pitch, 0, 0},
          {buffers.boundary_rows.data(), buffers.scaled_pitch, parallel::kMaxBands - 1}};
}

}  // namespace qz::present
