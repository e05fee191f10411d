#include "cursor/cursor_image_record.h"

#include <new>

#include "core/game_heap.h"
#include "cursor/mouse_manager.h"

namespace qz::cursor {

CursorImage* CreateCursorImage(int32_t width, int32_t height) {
  if (width < 1 || height < 1) return nullptr;
  const int64_t bits = game::Cell<uint8_t>(game::kBytesPerPixel) == 4 ? 32 : 16;
  const int64_t pitch = ((width * bits + 31) & ~int64_t{31}) / 8;
  if (pitch * height > INT32_MAX) return nullptr;
  void* record = core::GameAllocate(sizeof(CursorImage));
  if (record == nullptr) return nullptr;
  const auto buffer_size = static_cast<int32_t>(pitch * height);
  auto* pixels = static_cast<uint8_t*>(core::GameAllocate(static_cast<uint32_t>(buffer_size)));
  if (pixels == nullptr) {
    core::GameRelease(record);
    return nullptr;
  }
  auto* image = new (record) CursorImage{};
  image->class_table = game::kBitmapClassTable;
  image->bufferSize = buffer_size;
  image->bufferSize2 = buffer_size;
  image->width = width;
  image->height = height;
  image->pitch = static_cast<int32_t>(pitch);
  image->pixels = pixels;
  return image;
}

void DestroyCursorImage(CursorImage* image) {
  if (image == nullptr) return;
  if (image->borrowed == 0) core::GameRelease(image->pixels);
  core::GameRelease(image);
}

bool HasArgbRows(const CursorImage& image) {
  return image.pitch == 4 * image.width;
}

ArgbImage ArgbView(const CursorImage& image) {
  return ArgbImage{reinterpret_cast<uint32_t*>(image.pixels), image.width, image.height,
                   image.pitch / 4};
}

}  // namespace qz::cursor
