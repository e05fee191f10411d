#include "cursor/cursor_scaling.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

#include "cursor/cursor_image_ops.h"

namespace qz::cursor {
namespace {

// Cursors before NT 6 are drawn on the classic 32 x 32 canvas.
constexpr uint32_t kClassicCursorSize = 32;
constexpr double kSharpenStrength = 0.21;

void Clear(const ArgbImage& image) {
  for (int32_t y = 0; y < image.height; ++y) {
    std::memset(image.pixels + static_cast<ptrdiff_t>(y) * image.pitch_pixels, 0,
                static_cast<size_t>(image.width) * sizeof(uint32_t));
  }
}

// The game draws only the sprite's opaque pixels over the key; what it left is see-through, and
// everything it drew is fully opaque.
void KeyToTransparency(const ArgbImage& sprite, int32_t width, int32_t height) {
  for (int32_t y = 0; y < height; ++y) {
    uint32_t* row = sprite.pixels + static_cast<ptrdiff_t>(y) * sprite.pitch_pixels;
    for (int32_t x = 0; x < width; ++x) {
      row[x] = row[x] == kCursorKey ? 0 : row[x] | 0xFF000000;
    }
  }
}

}  // namespace

CursorScale ScaleFor(const CursorGeometry& geometry, int32_t sprite_width, int32_t sprite_height) {
  if (sprite_width < 1 || sprite_height < 1) return {};
  const uint32_t width = static_cast<uint32_t>(std::min(sprite_width, kSpriteImageSize));
  const uint32_t height = static_cast<uint32_t>(std::min(sprite_height, kSpriteImageSize));
  if (!geometry.nt6) {
    return {kClassicCursorSize,
            kClassicCursorSize,
            kClassicCursorSize,
            kClassicCursorSize,
            width,
            height};
  }
  if (geometry.game_width < 1 || geometry.game_height < 1 || geometry.picture_width < 1 ||
      geometry.picture_height < 1) {
    return {};
  }
  // The cursor grows with the picture, but never beyond twice the sprite: the enlargement before
  // the resampling only doubles.
  const int64_t factor_x =
      std::min(2 * int64_t{geometry.game_width}, int64_t{geometry.picture_width});
  const int64_t factor_y =
      std::min(2 * int64_t{geometry.game_height}, int64_t{geometry.picture_height});
  CursorScale scale;
  scale.factor_x = static_cast<uint32_t>(factor_x);
  scale.factor_y = static_cast<uint32_t>(factor_y);
  scale.divisor_x = static_cast<uint32_t>(geometry.game_width);
  scale.divisor_y = static_cast<uint32_t>(geometry.game_height);
  scale.width = static_cast<uint32_t>(uint64_t{width} * scale.factor_x / scale.divisor_x);
  scale.height = static_cast<uint32_t>(uint64_t{height} * scale.factor_y / scale.divisor_y);
  return scale;
}

void ScaleHotSpot(const CursorScale& scale, uint32_t hot_x, uint32_t hot_y, uint32_t* x,
                  uint32_t* y) {
  *x = scale.divisor_x == 0
           ? 0
           : static_cast<uint32_t>(uint64_t{hot_x} * scale.factor_x / scale.divisor_x);
  *y = scale.divisor_y == 0
           ? 0
           : static_cast<uint32_t>(uint64_t{hot_y} * scale.factor_y / scale.divisor_y);
}

CursorScale ScaleCursorSprite(const CursorGeometry& geometry, const ArgbImage& sprite,
                              int32_t sprite_width, int32_t sprite_height,
                              const ArgbImage& enlarged, const ArgbImage& result) {
  const CursorScale scale = ScaleFor(geometry, sprite_width, sprite_height);
  Clear(result);
  if (scale.width == 0 || scale.height == 0) return scale;
  const int32_t width = std::min(sprite_width, kSpriteImageSize);
  const int32_t height = std::min(sprite_height, kSpriteImageSize);
  KeyToTransparency(sprite, width, height);
  const auto cursor_width = static_cast<int32_t>(scale.width);
  const auto cursor_height = static_cast<int32_t>(scale.height);
  if (geometry.nt6 && EnsureColorDistanceTable()) {
    // The enlargement writes every pixel of `enlarged`; the resampling then reads only the
    // sprite's own doubled area.
    ScaleXbrz2xArgb(sprite.pixels, enlarged.pixels, sprite.width, sprite.height,
                    XbrzConfiguration{});
    ResampleBSpline(result, enlarged, 2 * width, 2 * height, 0, 0, cursor_width, cursor_height);
  } else {
    // Before NT 6, and where the distance table's memory cannot be had: the sprite itself is
    // resampled, a softer cursor of the same size.
    ResampleBSpline(result, sprite, width, height, 0, 0, cursor_width, cursor_height);
  }
  // Without memory for its working copy the sharpening is skipped; the cursor is merely softer.
  SharpenCross(result, kSharpenStrength);
  return scale;
}

}  // namespace qz::cursor
