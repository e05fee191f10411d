#pragma once
// The road of one changed rectangle from the frame to the finished picture: grow it by the
// filter's neighbourhood, run the filter's stages one after the other (each cut into bands), and
// say which part of the picture changed. No Win32 here, so the host tools run the same path.
#include <cstdint>

#include "scale/banded_sharpening.h"
#include "scale/kernel.h"

namespace qz::present {

struct FrameGeometry {
  int32_t srcW = 0;
  int32_t srcH = 0;
  int32_t dstW = 0;
  int32_t dstH = 0;
};

// Pixel memory of the presentation. Only the pointers and pitches are read; the sizes come from
// the geometry (the frame is srcW x srcH, the 2x image 2 srcW x 2 srcH, the picture dstW x dstH).
// Every buffer keeps at least three spare columns and rows beyond those sizes.
struct PresentationImages {
  scale::ImageView frame;
  scale::ImageView doubled;
  scale::ImageView output;
  scale::RowScratch boundary_rows;  // kMaxBands - 1 rows as wide as the picture, plus one
};

// Inclusive rectangle of picture pixels; empty when right < left or bottom < top.
struct PictureArea {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = -1;
  int32_t bottom = -1;
};

inline bool IsEmpty(const PictureArea& area) {
  return area.right < area.left || area.bottom < area.top;
}

// Presents the inclusive frame rectangle (left, top, right, bottom) through filter `filter`, or
// its fallback when it cannot run, and returns the picture area that changed, to be copied to the
// window. Nothing runs while the geometry has a side below 1.
PictureArea PresentRectangle(int32_t filter, const PresentationImages& images,
                             const FrameGeometry& geometry, int32_t left, int32_t top,
                             int32_t right, int32_t bottom);

}  // namespace qz::present
