// GDI objects: bitmaps (device-dependent and DIB sections) and memory device contexts.
#include "win32/world_state.h"

using namespace qz::win32;

namespace {

// Bits of `height` rows of `stride_bytes`, zeroed, in whole 32-bit words.
Bitmap NewBitmap(int width, int height, int bits_per_pixel, int stride_bytes, bool top_down) {
  Bitmap bitmap;
  const size_t words = (static_cast<size_t>(stride_bytes) * static_cast<size_t>(height) + 3) / 4;
  bitmap.storage = std::make_unique<uint32_t[]>(words);
  bitmap.surface = Surface{reinterpret_cast<uint8_t*>(bitmap.storage.get()),
                           width,
                           height,
                           stride_bytes,
                           bits_per_pixel,
                           top_down};
  bitmap.colours[1] = RGBQUAD{0xFF, 0xFF, 0xFF, 0};
  return bitmap;
}

}  // namespace

namespace qz::win32 {

void AddStockObjects(World& world) {
  world.stock_bitmap = NewHandle<HBITMAP>(world);
  world.bitmaps[world.stock_bitmap] = NewBitmap(1, 1, 1, 2, true);
}

}  // namespace qz::win32
