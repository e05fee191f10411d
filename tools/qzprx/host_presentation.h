#pragma once
// The presentation images as the plug-in makes them, in plain memory: the frame with four extra
// columns and rows, the 2x image and the picture as large as the window or twice the frame,
// every one with three spare columns and rows.
#include <cstdint>
#include <vector>

#include "png_file.h"
#include "present/frame_pipeline.h"

namespace qzprx {

class HostPresentation {
 public:
  // A frame of the picture's size shown in a window (and screen) of window_width x window_height.
  HostPresentation(const Picture& frame, int32_t window_width, int32_t window_height);

  const qz::present::FrameGeometry& Geometry() const { return geometry_; }
  bool OneToOne() const {
    return geometry_.dstW == geometry_.srcW && geometry_.dstH == geometry_.srcH;
  }

  // Presents an inclusive frame rectangle through a filter.
  void Present(int32_t filter, int32_t left, int32_t top, int32_t right, int32_t bottom);

  // The picture as the window shows it: the top left of the output image, or the frame itself
  // when the one-to-one copy is chosen.
  Picture Result() const;

 private:
  qz::present::FrameGeometry geometry_;
  int32_t frame_pitch_;
  int32_t scaled_pitch_;
  std::vector<uint32_t> frame_;
  std::vector<uint32_t> doubled_;
  std::vector<uint32_t> output_;
  std::vector<uint32_t> boundary_rows_;
};

}  // namespace qzprx
