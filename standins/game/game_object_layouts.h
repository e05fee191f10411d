#pragma once
// The game's sprite frames, palettes, fonts, plain images and masks, laid out byte for byte as the
// game lays them out, for tests and the play-through to hand to the game's routines. Pointers in
// them stay where they are: the data they point at must outlive the object.
#include <cstdint>
#include <cstring>
#include <vector>

#include "truecolour/frame_description.h"

namespace standin::game {

namespace layout {
template <typename Value>
void Put(std::vector<uint8_t>& object, size_t offset, Value value) {
  std::memcpy(object.data() + offset, &value, sizeof value);
}
inline uint32_t Pointer(const void* data) {
  return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(data));
}
}  // namespace layout

inline std::vector<uint8_t> GameFrameObject(const qz::truecolour::FrameDescription& frame) {
  std::vector<uint8_t> object(0x48, 0xCD);
  layout::Put(object, 0x24, frame.type);
  layout::Put(object, 0x28, frame.fullWidth);
  layout::Put(object, 0x2C, frame.fullHeight);
  layout::Put(object, 0x30, frame.width);
  layout::Put(object, 0x34, frame.height);
  layout::Put(object, 0x38, frame.left);
  layout::Put(object, 0x3C, frame.top);
  layout::Put(object, 0x40, frame.rowStride);
  layout::Put(object, 0x44, layout::Pointer(frame.data));
  return object;
}

// Its 256 RGB565 colours from byte 0x1C on.
inline std::vector<uint8_t> GamePaletteObject(const std::vector<uint16_t>& colours) {
  std::vector<uint8_t> object(0x1C + 2 * colours.size(), 0xCD);
  std::memcpy(object.data() + 0x1C, colours.data(), 2 * colours.size());
  return object;
}

// One character of a font: where its glyph is drawn from the asked x, its width, and where its
// bytes start in the font's glyph data.
struct FontCharacter {
  int32_t offset = 0;
  int32_t width = 0;
  int32_t data_offset = 0;
};

// `name` gives the first four characters of the font's name; `characters` has 256 entries and
// `palette` 256 colours.
inline std::vector<uint8_t> GameFontObject(const char* name, uint8_t glyph_height,
                                           const std::vector<uint16_t>& palette,
                                           const std::vector<FontCharacter>& characters,
                                           const uint8_t* glyph_data) {
  std::vector<uint8_t> object(0x1260, 0);
  std::memcpy(object.data() + 4, name, 4);
  object[0x21] = glyph_height;
  for (size_t c = 0; c < characters.size(); ++c) {
    layout::Put(object, 0x3C + 12 * c, characters[c].offset);
    layout::Put(object, 0x3C + 12 * c + 4, characters[c].width);
    layout::Put(object, 0xC3C + 4 * c, characters[c].data_offset);
  }
  std::memcpy(object.data() + 0x1058, palette.data(), 2 * palette.size());
  layout::Put(object, 0x1258, layout::Pointer(glyph_data));
  return object;
}

// A 24-bit image: rows of `width` 3-byte pixels.
inline std::vector<uint8_t> GameImage24Object(int32_t width, const uint8_t* data) {
  std::vector<uint8_t> object(0x30, 0);
  layout::Put(object, 0x24, width);
  layout::Put(object, 0x2C, layout::Pointer(data));
  return object;
}

// An 8-bit image: rows `stride` bytes apart and its own 256 RGB565 colours.
inline std::vector<uint8_t> GameImage8Object(int32_t stride, const uint8_t* data,
                                             const std::vector<uint16_t>& palette) {
  std::vector<uint8_t> object(0x250, 0);
  layout::Put(object, 0x2C, stride);
  layout::Put(object, 0x30, layout::Pointer(data));
  std::memcpy(object.data() + 0x50, palette.data(), 2 * palette.size());
  return object;
}

// A mask: rows of `width` bytes.
inline std::vector<uint8_t> GameMaskObject(int32_t width, const uint8_t* data) {
  std::vector<uint8_t> object(0x34, 0);
  layout::Put(object, 0x24, width);
  layout::Put(object, 0x30, layout::Pointer(data));
  return object;
}

}  // namespace standin::game
