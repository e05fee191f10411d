#pragma once
// A frame shown in a window as the plug-in shows it, on plain memory.
#include <cstdint>

#include "png_file.h"
#include "present/presentation_buffers.h"

namespace qzprx {

class HostPresentation {
 public:
  // A frame of the picture's size shown in a window (and screen) of window_width x window_height.
  HostPresentation(const Picture& frame, int32_t window_width, int32_t window_height);

  const qz::present::FrameGeometry& Geometry() const { return buffers_.geometry; }
  bool OneToOne() const {
    return Geometry().dstW == Geometry().srcW && Geometry().dstH == Geometry().srcH;
  }

  // Presents an inclusive frame rectangle through a filter.
  void Present(int32_t filter, int32_t left, int32_t top, int32_t right, int32_t bottom);

  // The picture as the window shows it: the top left of the output image, or the frame itself
  // when the one-to-one copy is chosen.
  Picture Result() const;

 private:
  qz::present::PresentationBuffers buffers_;
};

}  // namespace qzprx
