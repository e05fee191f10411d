#include "truecolour/bitmap_hooks.h"

#include "core/game_heap.h"
#include "truecolour/bitmap_pixels.h"
#include "truecolour/bitmap_tint.h"
#include "truecolour/game_frame.h"
#include "truecolour/game_objects.h"
#include "truecolour/image_draws.h"
#include "truecolour/palette32.h"

namespace qz::truecolour {
namespace {

using game::BitmapPixels;
using game::ReadField;
using game::WriteField;

constexpr uint32_t kBaseConstructor = 0x558970;  // this-call (name, flags)
constexpr uint32_t kTintByHue = 0x44E610;
constexpr uint32_t kPlainFlags = 0;
constexpr uint32_t kNamedFlags = 0x12;

void ConstructBase(void* bitmap, const char* name, uint32_t flags) {
  core::At<core::ThisCall<void*, const char*, uint32_t>>(kBaseConstructor)(bitmap, name, flags);
}

// The 32-bit buffer of a new bitmap. A size the game's 32-bit arithmetic cannot hold, or a
// negative side, gives a bitmap without a buffer, as a zero side does.
void SetUpBuffer(void* bitmap, int32_t width, int32_t height) {
  const uint32_t pitch = static_cast<uint32_t>(width) * 4;
  const uint32_t size = pitch * static_cast<uint32_t>(height);
  WriteField(bitmap, game::kBitmapClass, game::kBitmapClassTable);
  WriteField(bitmap, game::kBitmapWidth, width);
  WriteField(bitmap, game::kBitmapHeight, height);
  WriteField(bitmap, game::kBitmapPitch, pitch);
  WriteField(bitmap, game::kBitmapBufferSize, size);
  WriteField(bitmap, game::kBitmapBufferSize2, size);
  const int64_t bytes = int64_t{width} * 4 * height;
  if (width <= 0 || height <= 0 || bytes > INT32_MAX) {
    WriteField<void*>(bitmap, game::kBitmapPixels, nullptr);
    return;
  }
  WriteField(bitmap, game::kBitmapPixels, core::GameAllocate(size));
  WriteField<uint8_t>(bitmap, game::kBitmapBorrowed, 0);
}

}  // namespace

void* ConstructBitmap(void* bitmap, int32_t width, int32_t height) {
  ConstructBase(bitmap, nullptr, kPlainFlags);
  SetUpBuffer(bitmap, width, height);
  return bitmap;
}

void* ConstructNamedBitmap(void* bitmap, const char* name, int32_t width, int32_t height) {
  ConstructBase(bitmap, name, kNamedFlags);
  SetUpBuffer(bitmap, width, height);
  return bitmap;
}

void IgnoreOneArgument(void*, uint32_t) {}

void AttachBitmapBuffer(void* bitmap, int32_t width, int32_t height, int32_t pitch,
                        uint32_t* pixels) {
  void* owned = ReadField<void*>(bitmap, game::kBitmapPixels);
  if (owned != nullptr && ReadField<uint8_t>(bitmap, game::kBitmapBorrowed) == 0) {
    core::GameRelease(owned);
  }
  WriteField(bitmap, game::kBitmapWidth, width);
  WriteField(bitmap, game::kBitmapHeight, height);
  WriteField(bitmap, game::kBitmapPitch, pitch);
  WriteField(bitmap, game::kBitmapPixels, pixels);
  WriteField<uint8_t>(bitmap, game::kBitmapBorrowed, 1);
}

void DrawBitmapToBuffer(void* bitmap, int32_t sx, int32_t sy, int32_t w, int32_t h, uint32_t* dst,
                        int32_t dx, int32_t dy, int32_t destW, int32_t destH, int32_t dstPitch,
                        uint32_t key) {
  CopyBitmapPixels(BitmapPixels(bitmap),
                   BufferCopy{sx, sy, w, h, dst, dx, dy, destW, destH, dstPitch},
                   static_cast<uint8_t>(key));
}

void GrabBitmapFromBuffer(void* bitmap, const uint32_t* src, int32_t x, int32_t y, int32_t srcW,
                          int32_t srcH, int32_t srcPitch) {
  GrabPixels(BitmapPixels(bitmap), {const_cast<uint32_t*>(src), srcW, srcH, srcPitch}, x, y);
}

void FillBitmapRectangle(void* bitmap, int32_t x, int32_t y, int32_t w, int32_t h,
                         uint32_t colour) {
  FillPixels(BitmapPixels(bitmap), {x, y, w, h}, PixelFromRgb565(game::Rgb565Argument(colour)));
}

void OutlineBitmapRectangle(void* bitmap, int32_t x, int32_t y, int32_t w, int32_t h,
                            uint32_t colour) {
  OutlinePixels(BitmapPixels(bitmap), {x, y, w, h}, PixelFromRgb565(game::Rgb565Argument(colour)));
}

void DarkenBitmapRectangle(void* bitmap, int32_t x, int32_t y, int32_t w, int32_t h) {
  DarkenPixels(BitmapPixels(bitmap), {x, y, w, h});
}

void DarkenBitmapThroughMask(void* bitmap, int32_t x, int32_t y, int32_t w, int32_t h,
                             const void* mask, int32_t maskX, int32_t maskY) {
  if (mask == nullptr) return;
  const auto* bytes = ReadField<const uint8_t*>(mask, game::kMaskData);
  if (bytes == nullptr) return;
  DarkenPixelsThroughMask(BitmapPixels(bitmap), {x, y, w, h}, bytes,
                          ReadField<int32_t>(mask, game::kMaskWidth), maskX, maskY);
}

void TintBitmapByColour(void* bitmap, int32_t x, int32_t y, int32_t w, int32_t h, uint32_t colour) {
  const HueSaturation tint = HueFromColour(colour);
  // Through the game's address, so whatever routine stands there now does the tint.
  using TintByHue = core::ThisCall<void, int32_t, int32_t, int32_t, int32_t, float, float>;
  core::At<TintByHue>(kTintByHue)(bitmap, x, y, w, h, static_cast<float>(tint.hue / 360),
                                  static_cast<float>(tint.saturation));
}

void TintBitmapByHue(void* bitmap, int32_t x, int32_t y, int32_t w, int32_t h, float hue,
                     float saturation) {
  TintPixels(BitmapPixels(bitmap), {x, y, w, h}, hue, saturation);
}

void DrawImage24(const void* image, int32_t sx, int32_t sy, int32_t w, int32_t h, uint32_t* dst,
                 int32_t dx, int32_t dy, int32_t destW, int32_t destH, int32_t dstPitch) {
  const auto* data = ReadField<const uint8_t*>(image, game::kImage24Data);
  if (data == nullptr) return;
  DrawImage24Pixels(data, ReadField<int32_t>(image, game::kImage24Width),
                    BufferCopy{sx, sy, w, h, dst, dx, dy, destW, destH, dstPitch});
}

void DrawImage8(const void* image, int32_t sx, int32_t sy, int32_t w, int32_t h, uint32_t* dst,
                int32_t dx, int32_t dy, int32_t destW, int32_t destH, int32_t dstPitch,
                uint32_t transparent) {
  const auto* data = ReadField<const uint8_t*>(image, game::kImage8Data);
  if (data == nullptr) return;
  DrawImage8Pixels(data, ReadField<int32_t>(image, game::kImage8Stride),
                   game::FieldAddress16(image, game::kImage8Palette),
                   BufferCopy{sx, sy, w, h, dst, dx, dy, destW, destH, dstPitch},
                   game::ByteFlag(transparent));
}

}  // namespace qz::truecolour
