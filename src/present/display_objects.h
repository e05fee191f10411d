#pragma once
// The game's DirectDraw object and surfaces, emulated: each object carries its own method table
// right behind its first word, so the game's calls through the table land here. No real
// DirectDraw object is ever made; every surface locks onto the one 32-bit FrameImage.
#include <windows.h>

#include <cstdint>

namespace qz::present {

inline constexpr int kDisplaySlots = 23;
inline constexpr int kSurfaceSlots = 36;

struct DisplayObject {
  void** table;  // points at slots
  void* slots[kDisplaySlots];
};

struct SurfaceObject {
  void** table;  // points at slots
  void* slots[kSurfaceSlots];
  uint32_t reserved;
};

static_assert(sizeof(void*) != 4 || sizeof(DisplayObject) == 96);
static_assert(sizeof(void*) != 4 || sizeof(SurfaceObject) == 152);

// Surface description offsets the game and the emulation share.
inline constexpr int kDescriptionHeight = 8;
inline constexpr int kDescriptionWidth = 12;
inline constexpr int kDescriptionPitch = 16;
inline constexpr int kDescriptionSurface = 36;
inline constexpr int kDescriptionCaps = 104;
inline constexpr uint32_t kPrimarySurfaceCap = 0x200;
// Surfaces this narrow are the game's small helpers, never its frame.
inline constexpr int32_t kNarrowestFrame = 129;

// Replaces the game's call that would create a DirectDraw object (identifier, out, outer).
HRESULT WINAPI CreateDisplayObject(void* identifier, DisplayObject** out, void* outer);

// Points the primary surface's block transfer at the one-to-one copy when the picture has the
// frame's size, else at the current filter.
void SelectPresent();

extern SurfaceObject* PrimarySurface;

}  // namespace qz::present
