#pragma once
// The game's bitmap object and the other objects its image, text, video and transition routines
// work on, read in this one place into the plain records the drawers work on.
#include <cstdint>

#include "truecolour/game_fields.h"
#include "truecolour/pixel_buffer.h"

namespace qz::truecolour::game {

// Byte offsets in the bitmap object.
inline constexpr int kBitmapClass = 0x00;
inline constexpr int kBitmapBufferSize = 0x1C;
inline constexpr int kBitmapBufferSize2 = 0x20;
inline constexpr int kBitmapWidth = 0x24;
inline constexpr int kBitmapHeight = 0x28;
inline constexpr int kBitmapPitch = 0x2C;
inline constexpr int kBitmapPixels = 0x30;
inline constexpr int kBitmapBorrowed = 0x34;
// Room for a bitmap object of our own making: a page, where the bitmap's own fields end at 0x35,
// for whatever the game's base class keeps.
inline constexpr uint32_t kBitmapObjectSize = 0x1000;

inline constexpr uint32_t kBitmapClassTable = 0x63B9C8;

// The bitmap's pixels; an empty picture while it has none, so nothing is drawn into null.
inline PixelBuffer BitmapPixels(const void* bitmap) {
  auto* pixels = ReadField<uint32_t*>(bitmap, kBitmapPixels);
  if (pixels == nullptr) return {};
  return {pixels, ReadField<int32_t>(bitmap, kBitmapWidth),
          ReadField<int32_t>(bitmap, kBitmapHeight), ReadField<int32_t>(bitmap, kBitmapPitch)};
}

// The 24-bit image: its width (also its row length) and its pixel data.
inline constexpr int kImage24Width = 0x24;
inline constexpr int kImage24Data = 0x2C;
// The 8-bit image: its row stride in bytes, its pixel data and its own 256 RGB565 colours.
inline constexpr int kImage8Stride = 0x2C;
inline constexpr int kImage8Data = 0x30;
inline constexpr int kImage8Palette = 0x50;
// The mask object: its width, also its row stride in bytes, and its bytes.
inline constexpr int kMaskWidth = 0x24;
inline constexpr int kMaskData = 0x30;

// The font object: its name, the glyph height, per character a record of three words (the
// glyph's horizontal offset and width first), its 256 RGB565 colours, and per character the
// offset of its glyph bytes from the glyph-data pointer.
inline constexpr int kFontName = 0x04;
inline constexpr int kFontGlyphHeight = 0x21;
inline constexpr int kFontCharacters = 0x3C;
inline constexpr int kFontCharacterSize = 12;
inline constexpr int kFontPalette = 0x1058;
inline constexpr int kFontGlyphOffsets = 0xC3C;
inline constexpr int kFontGlyphData = 0x1258;

// The video object: the size of the frame it decodes.
inline constexpr int kVideoWidth = 0x04;
inline constexpr int kVideoHeight = 0x08;

// The screen object of the transitions: the screen bitmap, a field held at 0 during a
// cross-fade, and the bitmap of the previous picture.
inline constexpr int kScreenBitmap = 0x40;
inline constexpr int kScreenHeldField = 0x44;
inline constexpr int kScreenPrevious = 0x4C;

inline const uint16_t* FieldAddress16(const void* object, int offset) {
  return reinterpret_cast<const uint16_t*>(static_cast<const uint8_t*>(object) + offset);
}

}  // namespace qz::truecolour::game
