#include "present/image_buffer.h"

#include "core/guarded_alloc.h"

namespace qz::present {
namespace {

// Fills the size fields; false when the sizes are not positive or the byte count passes 2^31.
bool Measure(ImageBuffer& image, int32_t width, int32_t height) {
  if (width < 1 || height < 1) return false;
  const int64_t pitch = int64_t{width} + kSpare;
  const int64_t size = (int64_t{height} + kSpare) * pitch * 4;
  if (size > INT32_MAX - 64) return false;
  image.width = width;
  image.height = height;
  image.pitch = static_cast<int32_t>(pitch);
  image.pitchBytes = static_cast<int32_t>(pitch * 4);
  image.sizeBytes = static_cast<int32_t>(size);
  return true;
}

ImageBuffer* NewRecord() {
  auto* image = static_cast<ImageBuffer*>(core::GuardedAlloc(sizeof(ImageBuffer)));
  if (image != nullptr) *image = ImageBuffer{};
  return image;
}

ImageBuffer* Discard(ImageBuffer* image) {
  core::GuardedFree(image);
  return nullptr;
}

}  // namespace

ImageBuffer* CreateDibImage(int32_t width, int32_t height) {
  ImageBuffer* image = NewRecord();
  if (image == nullptr) return nullptr;
  if (!Measure(*image, width, height)) return Discard(image);
  image->dc = CreateCompatibleDC(nullptr);
  if (image->dc == nullptr) return Discard(image);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = image->pitch;
  info.bmiHeader.biHeight = -(height + kSpare);  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  info.bmiHeader.biSizeImage = static_cast<DWORD>(image->sizeBytes);
  void* bits = nullptr;
  image->bitmap = CreateDIBSection(image->dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (image->bitmap == nullptr || bits == nullptr) {
    DeleteDC(image->dc);
    return Discard(image);
  }
  SelectObject(image->dc, image->bitmap);
  image->pixels = static_cast<uint32_t*>(bits);
  return image;
}

void ReleaseDibImage(ImageBuffer* image) {
  DeleteDC(image->dc);
  DeleteObject(image->bitmap);
  core::GuardedFree(image);
}

ImageBuffer* CreatePlainImage(int32_t width, int32_t height) {
  ImageBuffer* image = NewRecord();
  if (image == nullptr) return nullptr;
  if (!Measure(*image, width, height)) return Discard(image);
  // Never released: the presentation images live as long as the process.
  void* block = core::GuardedAlloc(static_cast<uint32_t>(image->sizeBytes) + 31);
  if (block == nullptr) return Discard(image);
  const auto aligned = (reinterpret_cast<uintptr_t>(block) + 31) & ~uintptr_t{31};
  image->pixels = reinterpret_cast<uint32_t*>(aligned);
  return image;
}

scale::ImageView View(const ImageBuffer& image) {
  return {image.pixels, image.pitch, image.width, image.height};
}

}  // namespace qz::present
