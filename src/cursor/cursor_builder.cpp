#include "cursor/cursor_builder.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "core/game_heap.h"
#include "core/settings.h"
#include "cursor/cursor_scaling.h"
#include "cursor/mouse_manager.h"

namespace qz::cursor {
namespace {

// Releases what was made, the last first; the mask is the last step, so a failure never has one.
void Undo(CursorBuilder* builder) {
  if (builder->colour != nullptr) DeleteObject(builder->colour);
  if (builder->screen != nullptr) ReleaseDC(nullptr, builder->screen);
  DestroyCursorImage(builder->result);
  DestroyCursorImage(builder->enlarged);
  DestroyCursorImage(builder->sprite);
  core::GameRelease(builder);
}

HBITMAP CreateAlphaBitmap(HDC screen, int32_t size, uint32_t** bits) {
  BITMAPV5HEADER header{};
  header.bV5Size = sizeof header;
  header.bV5Width = size;
  header.bV5Height = size;  // bottom-up
  header.bV5Planes = 1;
  header.bV5BitCount = 32;
  header.bV5Compression = BI_BITFIELDS;
  header.bV5RedMask = 0x00FF0000;
  header.bV5GreenMask = 0x0000FF00;
  header.bV5BlueMask = 0x000000FF;
  header.bV5AlphaMask = 0xFF000000;
  void* pixels = nullptr;
  const HBITMAP bitmap = CreateDIBSection(screen, reinterpret_cast<const BITMAPINFO*>(&header),
                                          DIB_RGB_COLORS, &pixels, nullptr, 0);
  *bits = static_cast<uint32_t*>(pixels);
  return bitmap;
}

// Clears the sprite image and lays the key colour under the frame's area, so that what the
// game's routine leaves untouched turns transparent.
void PrepareSpriteImage(const ArgbImage& sprite, int32_t width, int32_t height) {
  for (int32_t y = 0; y < sprite.height; ++y) {
    uint32_t* row = sprite.pixels + static_cast<ptrdiff_t>(y) * sprite.pitch_pixels;
    std::fill(row, row + sprite.width, 0u);
    if (y < height) std::fill(row, row + width, kCursorKey);
  }
}

// The colour bitmap's rows run bottom-up, so the result goes in upside down to show upright.
void CopyUpsideDown(const ArgbImage& result, uint32_t* bits, int32_t size) {
  std::memset(bits, 0, static_cast<size_t>(size) * size * 4);
  for (int32_t y = 0; y < size; ++y) {
    std::memcpy(bits + static_cast<ptrdiff_t>(size - 1 - y) * size,
                result.pixels + static_cast<ptrdiff_t>(y) * result.pitch_pixels,
                static_cast<size_t>(size) * 4);
  }
}

}  // namespace

CursorBuilder* CreateCursorBuilder(int32_t canvas_size) {
  void* record = core::GameAllocate(sizeof(CursorBuilder));
  if (record == nullptr) return nullptr;
  auto* builder = new (record) CursorBuilder{};
  builder->width = canvas_size;
  builder->height = canvas_size;
  builder->sprite = CreateCursorImage(kSpriteImageSize, kSpriteImageSize);
  builder->enlarged = builder->sprite ? CreateCursorImage(canvas_size, canvas_size) : nullptr;
  builder->result = builder->enlarged ? CreateCursorImage(canvas_size, canvas_size) : nullptr;
  builder->screen = builder->result ? GetDC(nullptr) : nullptr;
  builder->colour = builder->screen
                        ? CreateAlphaBitmap(builder->screen, canvas_size, &builder->colour_bits)
                        : nullptr;
  builder->mask = builder->colour ? CreateBitmap(canvas_size, canvas_size, 1, 1, nullptr) : nullptr;
  if (builder->mask == nullptr) {
    Undo(builder);
    return nullptr;
  }
  builder->icon = ICONINFO{FALSE, 0, 0, builder->mask, builder->colour};
  return builder;
}

HCURSOR BuildCursor(CursorBuilder* builder, void* sprite, int32_t frame, uint32_t hot_x,
                    uint32_t hot_y) {
  const int32_t sprite_width = game::SpriteWidth(sprite);
  const int32_t sprite_height = game::SpriteHeight(sprite);
  const bool argb = game::Cell<uint8_t>(game::kBytesPerPixel) == 4 &&
                    HasArgbRows(*builder->sprite) && HasArgbRows(*builder->enlarged) &&
                    HasArgbRows(*builder->result);
  if (sprite_width < 1 || sprite_height < 1 || !argb) return nullptr;
  const ArgbImage drawn = ArgbView(*builder->sprite);
  const int32_t width = std::min(sprite_width, kSpriteImageSize);
  const int32_t height = std::min(sprite_height, kSpriteImageSize);
  PrepareSpriteImage(drawn, width, height);
  game::DrawSpriteFrame(sprite, frame, width, height, drawn.pixels, drawn.width, drawn.height,
                        builder->sprite->pitch);
  const CursorGeometry geometry{builder->width, builder->width >= 2 * kSpriteImageSize,
                                core::srcW,     core::srcH,
                                core::dstW,     core::dstH};
  const ArgbImage result = ArgbView(*builder->result);
  const CursorScale scale = ScaleCursorSprite(geometry, drawn, sprite_width, sprite_height,
                                              ArgbView(*builder->enlarged), result);
  if (scale.width == 0 || scale.height == 0) return nullptr;
  CopyUpsideDown(result, builder->colour_bits, builder->width);
  uint32_t x = 0;
  uint32_t y = 0;
  ScaleHotSpot(scale, hot_x, hot_y, &x, &y);
  builder->icon.xHotspot = x;
  builder->icon.yHotspot = y;
  return CreateIconIndirect(&builder->icon);
}

}  // namespace qz::cursor
