#pragma once
// The one shape every scaling kernel has, so the filter table and the band dispatcher never need
// to know which kernel they run.
#include <cstdint>

namespace qz::scale {

// An image as a kernel sees it: first pixel, row pitch in pixels, size in pixels.
struct ImageView {
  uint32_t* pixels = nullptr;
  int32_t pitch = 0;
  int32_t width = 0;
  int32_t height = 0;
};

// Source and destination of one kernel call. In-place passes use only `destination`.
struct KernelImages {
  ImageView source;
  ImageView destination;
};

// Processes the inclusive rectangle x0..x1, y0..y1 and nothing when it holds no column or row.
// Each kernel's header states in which image the rectangle lies and which rows outside it the
// kernel reads or writes.
using Kernel = void (*)(const KernelImages& images, int32_t x0, int32_t x1, int32_t y0, int32_t y1);

// Limits a rectangle of source pixels to the image; false when nothing of it is left. The 2x
// enlargers take their rectangle in source pixels and start with this.
inline bool ClipToImage(const ImageView& image, int32_t& x0, int32_t& x1, int32_t& y0,
                        int32_t& y1) {
  x0 = x0 < 0 ? 0 : x0;
  x1 = x1 > image.width - 1 ? image.width - 1 : x1;
  y0 = y0 < 0 ? 0 : y0;
  y1 = y1 > image.height - 1 ? image.height - 1 : y1;
  return x0 <= x1 && y0 <= y1;
}

}  // namespace qz::scale
