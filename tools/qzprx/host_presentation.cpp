#include "host_presentation.h"

#include <algorithm>

#include "core/picture_rectangle.h"
#include "parallel/worker_count.h"

namespace qzprx {
namespace {

constexpr int32_t kSpare = 3;
constexpr int32_t kFrameMargin = 4;  // the game's surface is made 4 pixels larger each way

}  // namespace

HostPresentation::HostPresentation(const Picture& frame, int32_t window_width,
                                   int32_t window_height) {
  const qz::core::PictureRectangle picture =
      qz::core::FitPicture(frame.width, frame.height, window_width, window_height);
  geometry_ = {frame.width, frame.height, picture.width, picture.height};
  frame_pitch_ = frame.width + kFrameMargin + kSpare;
  frame_.assign(static_cast<size_t>(frame_pitch_) * (frame.height + kFrameMargin + kSpare), 0);
  for (int32_t y = 0; y < frame.height; ++y) {
    std::copy_n(&frame.pixels[static_cast<size_t>(y) * frame.width], frame.width,
                &frame_[static_cast<size_t>(y) * frame_pitch_]);
  }
  const int32_t width = std::max(2 * frame.width, window_width);
  const int32_t height = std::max(2 * frame.height, window_height);
  scaled_pitch_ = width + kSpare;
  const auto scaled_size = static_cast<size_t>(scaled_pitch_) * (height + kSpare);
  doubled_.assign(scaled_size, 0);
  output_.assign(scaled_size, 0);
  boundary_rows_.assign(static_cast<size_t>(scaled_pitch_) * (qz::parallel::kMaxBands - 1), 0);
}

void HostPresentation::Present(int32_t filter, int32_t left, int32_t top, int32_t right,
                               int32_t bottom) {
  if (OneToOne()) return;  // the window shows the frame itself
  const qz::present::PresentationImages images{
      {frame_.data(), frame_pitch_, 0, 0},
      {doubled_.data(), scaled_pitch_, 0, 0},
      {output_.data(), scaled_pitch_, 0, 0},
      {boundary_rows_.data(), scaled_pitch_, qz::parallel::kMaxBands - 1}};
  qz::present::PresentRectangle(filter, images, geometry_, left, top, right, bottom);
}

Picture HostPresentation::Result() const {
  const bool one_to_one = OneToOne();
  const std::vector<uint32_t>& source = one_to_one ? frame_ : output_;
  const int32_t pitch = one_to_one ? frame_pitch_ : scaled_pitch_;
  Picture picture{geometry_.dstW, geometry_.dstH, {}};
  picture.pixels.resize(static_cast<size_t>(picture.width) * picture.height);
  for (int32_t y = 0; y < picture.height; ++y) {
    std::copy_n(&source[static_cast<size_t>(y) * pitch], picture.width,
                &picture.pixels[static_cast<size_t>(y) * picture.width]);
  }
  return picture;
}

}  // namespace qzprx
