#include "present/presentation.h"

#include <algorithm>

#include "core/guarded_alloc.h"
#include "core/settings.h"
#include "parallel/worker_count.h"

namespace qz::present {

ImageBuffer* FrameImage = nullptr;
ImageBuffer* DoubleImage = nullptr;
ImageBuffer* OutputImage = nullptr;
HDC WindowDC = nullptr;

namespace {

scale::RowScratch BoundaryRows{};

// One saved row per band boundary for the in-place sharpening passes, as wide as the picture's
// pitch; null pixels when they cannot be had.
scale::RowScratch MakeBoundaryRows(int32_t pitch) {
  const int32_t rows = parallel::kMaxBands - 1;
  void* block = core::GuardedAlloc(static_cast<uint32_t>(rows * pitch) * 4);
  return {static_cast<uint32_t*>(block), pitch, rows};
}

}  // namespace

bool CreateScaledImages(int32_t width, int32_t height) {
  DoubleImage = CreatePlainImage(width, height);
  OutputImage = CreateDibImage(std::max(width, core::dstW), std::max(height, core::dstH));
  if (DoubleImage == nullptr || OutputImage == nullptr) return false;
  BoundaryRows = MakeBoundaryRows(OutputImage->pitch);
  return BoundaryRows.pixels != nullptr;
}

PictureRoom MakeRoomForPicture(int32_t width, int32_t height) {
  if (OutputImage == nullptr || BoundaryRows.pixels == nullptr) return PictureRoom::kEnough;
  if (width <= OutputImage->width && height <= OutputImage->height) return PictureRoom::kEnough;
  ImageBuffer* output =
      CreateDibImage(std::max(width, OutputImage->width), std::max(height, OutputImage->height));
  if (output == nullptr) return PictureRoom::kShort;
  const scale::RowScratch rows = MakeBoundaryRows(output->pitch);
  if (rows.pixels == nullptr) {
    ReleaseDibImage(output);
    return PictureRoom::kShort;
  }
  ReleaseDibImage(OutputImage);
  core::GuardedFree(BoundaryRows.pixels);
  OutputImage = output;
  BoundaryRows = rows;
  return PictureRoom::kGrown;
}

int32_t HeldPictureWidth() {
  return OutputImage == nullptr ? 0 : OutputImage->width;
}
int32_t HeldPictureHeight() {
  return OutputImage == nullptr ? 0 : OutputImage->height;
}

bool PresentationReady() {
  return FrameImage != nullptr && DoubleImage != nullptr && OutputImage != nullptr &&
         BoundaryRows.pixels != nullptr && WindowDC != nullptr &&
         core::dstW <= OutputImage->width && core::dstH <= OutputImage->height;
}

FrameGeometry CurrentGeometry() {
  return {core::srcW, core::srcH, core::dstW, core::dstH};
}

PresentationImages CurrentImages() {
  return {View(*FrameImage), View(*DoubleImage), View(*OutputImage), BoundaryRows};
}

void TransferToWindow(const PictureArea& area) {
  BitBlt(WindowDC, area.left + core::dstX, area.top + core::dstY, area.right - area.left + 1,
         area.bottom - area.top + 1, OutputImage->dc, area.left, area.top, SRCCOPY);
}

}  // namespace qz::present
