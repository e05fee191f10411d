#pragma once
// Shared pieces of the true-colour tests: start-up as the host runs it, with what the drawing
// hooks read published first, and the game's frame and palette objects around test frames.
#include <cstdint>
#include <cstring>
#include <optional>
#include <vector>

#include "core/start.h"
#include "game/game_image.h"
#include "game/host_modification.h"
#include "splicer/splicer_library.h"
#include "truecolour/frame_description.h"
#include "win32/win32_world.h"

namespace qz::testing {

// Boots the host with `settings`, publishes the special-colour shadow routine when given, and
// calls Start.
inline void StartTrueColour(const standin::host::Settings& settings,
                            std::optional<uint32_t> special_colour_routine = {}) {
  win32::ResetWorld();
  core::InitialiseProcessSettings();
  standin::host::Boot(settings);
  if (special_colour_routine) {
    standin::splicer::Publish("Tarn.ShadowDrawNewSpeccolorFunc",
                              static_cast<int32_t>(*special_colour_routine));
  }
  standin::host::CallStart();
}

// The game's sprite frame object, laid out as the game lays it out; `data` stays where it is.
inline std::vector<uint8_t> GameFrameObject(const truecolour::FrameDescription& frame) {
  std::vector<uint8_t> object(0x48, 0xCD);
  const auto put = [&object](int offset, auto value) {
    std::memcpy(object.data() + offset, &value, sizeof value);
  };
  put(0x24, frame.type);
  put(0x28, frame.fullWidth);
  put(0x2C, frame.fullHeight);
  put(0x30, frame.width);
  put(0x34, frame.height);
  put(0x38, frame.left);
  put(0x3C, frame.top);
  put(0x40, frame.rowStride);
  put(0x44, static_cast<uint32_t>(reinterpret_cast<uintptr_t>(frame.data)));
  return object;
}

// The game's palette object: its 256 RGB565 colours from byte 0x1C on.
inline std::vector<uint8_t> GamePaletteObject(const std::vector<uint16_t>& colours) {
  std::vector<uint8_t> object(0x1C + 2 * colours.size(), 0xCD);
  std::memcpy(object.data() + 0x1C, colours.data(), 2 * colours.size());
  return object;
}

}  // namespace qz::testing
