#pragma once
// The plug-in's image record: 32-bit top-down pixels with three spare columns and rows, so the
// kernels' reads past the last column and row stay inside the block.
#include <windows.h>

#include <cstdint>

#include "scale/kernel.h"

namespace qz::present {

struct ImageBuffer {
  HDC dc;
  HBITMAP bitmap;
  int32_t width;
  int32_t height;
  int32_t pitch;       // width + 3, in pixels
  int32_t pitchBytes;  // pitch * 4
  uint32_t* pixels;
  int32_t sizeBytes;  // (height + 3) * pitchBytes
};

inline constexpr int32_t kSpare = 3;

// A DIB section selected into a memory DC; null (nothing kept) when the DC, the section or the
// record cannot be had, or the size is not positive or too large for 32-bit arithmetic.
ImageBuffer* CreateDibImage(int32_t width, int32_t height);

// Gives back the DC, the DIB section and the record of an image made by CreateDibImage.
void ReleaseDibImage(ImageBuffer* image);

// Plain pixel memory aligned to 32 bytes, no DC; null as above.
ImageBuffer* CreatePlainImage(int32_t width, int32_t height);

// The record's pixels as a kernel sees them.
scale::ImageView View(const ImageBuffer& image);

}  // namespace qz::present
