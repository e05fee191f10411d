#include "host_presentation.h"

#include <algorithm>

namespace qzprx {

HostPresentation::HostPresentation(const Picture& frame, int32_t window_width,
                                   int32_t window_height)
    : buffers_(qz::present::MakePresentationBuffers(frame.width, frame.height, window_width,
                                                    window_height)) {
  for (int32_t y = 0; y < frame.height; ++y) {
    std::copy_n(&frame.pixels[static_cast<size_t>(y) * frame.width], frame.width,
                &buffers_.frame[static_cast<size_t>(y) * buffers_.frame_pitch]);
  }
}

void HostPresentation::Present(int32_t filter, int32_t left, int32_t top, int32_t right,
                               int32_t bottom) {
  if (OneToOne()) return;  // the window shows the frame itself
  qz::present::PresentRectangle(filter, qz::present::ImagesOf(buffers_), Geometry(), left, top,
                                right, bottom);
}

Picture HostPresentation::Result() const {
  const bool one_to_one = OneToOne();
  const std::vector<uint32_t>& source = one_to_one ? buffers_.frame : buffers_.output;
  const int32_t pitch = one_to_one ? buffers_.frame_pitch : buffers_.scaled_pitch;
  Picture picture{Geometry().dstW, Geometry().dstH, {}};
  picture.pixels.resize(static_cast<size_t>(picture.width) * picture.height);
  for (int32_t y = 0; y < picture.height; ++y) {
    std::copy_n(&source[static_cast<size_t>(y) * pitch], picture.width,
                &picture.pixels[static_cast<size_t>(y) * picture.width]);
  }
  return picture;
}

}  // namespace qzprx
