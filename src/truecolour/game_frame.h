#pragma once
// The game's sprite frame object, its palette object and the arguments its sprite routines share,
// read in this one place into the plain records the drawers work on.
#include <cstdint>

#include "truecolour/frame_description.h"
#include "truecolour/game_fields.h"

namespace qz::truecolour::game {

// Byte offsets in the frame object.
inline constexpr int kFrameType = 0x24;
inline constexpr int kFrameFullWidth = 0x28;
inline constexpr int kFrameFullHeight = 0x2C;
inline constexpr int kFrameWidth = 0x30;
inline constexpr int kFrameHeight = 0x34;
inline constexpr int kFrameLeft = 0x38;
inline constexpr int kFrameTop = 0x3C;
inline constexpr int kFrameRowStride = 0x40;
inline constexpr int kFrameData = 0x44;

// Byte offset of the palette object's 256 RGB565 colours.
inline constexpr int kPaletteColours = 0x1C;

// The eleven arguments every sprite routine takes first, in the order the game pushes them.
// Passed by value, the record lies on the stack exactly as the eleven words do.
struct FrameArguments {
  int32_t srcX;
  int32_t srcY;
  int32_t w;
  int32_t h;
  uint32_t* dst;
  int32_t destX;
  int32_t destY;
  int32_t destW;
  int32_t destH;
  int32_t pitch;
  const void* palette;  // the palette object
};
static_assert(sizeof(void*) != 4 || sizeof(FrameArguments) == 11 * 4);

inline FrameDescription ReadFrame(const void* frame) {
  return {ReadField<uint32_t>(frame, kFrameType),      ReadField<int32_t>(frame, kFrameFullWidth),
          ReadField<int32_t>(frame, kFrameFullHeight), ReadField<int32_t>(frame, kFrameWidth),
          ReadField<int32_t>(frame, kFrameHeight),     ReadField<int32_t>(frame, kFrameLeft),
          ReadField<int32_t>(frame, kFrameTop),        ReadField<int32_t>(frame, kFrameRowStride),
          ReadField<const uint8_t*>(frame, kFrameData)};
}

// Null for no palette object: the shadow-only routines are passed none they would read.
inline const uint16_t* PaletteColours(const void* palette) {
  if (palette == nullptr) return nullptr;
  return reinterpret_cast<const uint16_t*>(static_cast<const uint8_t*>(palette) + kPaletteColours);
}

inline FrameRequest ReadRequest(const FrameArguments& arguments) {
  return {arguments.srcX,
          arguments.srcY,
          arguments.w,
          arguments.h,
          arguments.dst,
          arguments.destX,
          arguments.destY,
          arguments.destW,
          arguments.destH,
          arguments.pitch,
          PaletteColours(arguments.palette)};
}

// Byte arguments arrive as whole stack words of which only the low byte counts; colour arguments
// count by their low 16 bits.
constexpr bool ByteFlag(uint32_t word) {
  return (word & 0xFFu) != 0;
}
constexpr uint16_t Rgb565Argument(uint32_t word) {
  return static_cast<uint16_t>(word);
}

}  // namespace qz::truecolour::game
