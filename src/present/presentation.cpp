#include "present/presentation.h"

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

}  // namespace

bool CreateScaledImages(int32_t width, int32_t height) {
  DoubleImage = CreatePlainImage(width, height);
  OutputImage = CreateDibImage(width, height);
  if (DoubleImage == nullptr || OutputImage == nullptr) return false;
  // One saved row per band boundary for the in-place sharpening passes.
  const int32_t rows = parallel::kMaxBands - 1;
  const int32_t pitch = OutputImage->pitch;
  void* block = core::GuardedAlloc(static_cast<uint32_t>(rows * pitch) * 4);
  if (block == nullptr) return false;
  BoundaryRows = {static_cast<uint32_t*>(block), pitch, rows};
  return true;
}

bool PresentationReady() {
  return FrameImage != nullptr && DoubleImage != nullptr && OutputImage != nullptr &&
         BoundaryRows.pixels != nullptr && WindowDC != nullptr;
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
