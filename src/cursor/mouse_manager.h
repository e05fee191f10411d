#pragma once
// The game's mouse manager, cursor sprites and cursor data, named once: fixed addresses, field
// offsets, and the game routines the cursor code calls.
#include <windows.h>

#include <cstdint>

namespace qz::cursor::game {

inline constexpr uint32_t kMouseManager = 0x6992B0;  // pointer, null before the game made one
inline constexpr uint32_t kTypeField = 0x4C;         // -1 for none
inline constexpr uint32_t kFrameField = 0x50;        // -1 for none
inline constexpr uint32_t kSpriteField = 0x54;       // the GameSprite of the type, or null
inline constexpr uint32_t kMarkField = 0x68;
inline constexpr uint32_t kLockField = 0x78;  // the game's critical section for its cursor

inline constexpr uint32_t kSpriteWidthField = 0x30;
inline constexpr uint32_t kSpriteHeightField = 0x34;
inline constexpr int kSpriteReleaseSlot = 1;

// Routines of the manager, all this-calls.
inline constexpr uint32_t kSetCursor = 0x50CEA0;       // (frame, type)
inline constexpr uint32_t kSetCursorFrame = 0x50DAB0;  // (frame)
inline constexpr uint32_t kIfDefaultCursor = 0x50CF90;
inline constexpr uint32_t kMarkUnlessDefault = 0x600430;
inline constexpr uint32_t kUnderDefaultCursor = 0x603000;
inline constexpr uint32_t kBeforeSetCursor = 0x50D740;
inline constexpr uint32_t kCursorReset = 0x50D7B0;
// The game's window procedure, a standard call.
inline constexpr uint32_t kWindowProcedure = 0x4F8290;
// The sprite-frame drawing routine, a this-call on the sprite.
inline constexpr uint32_t kDrawSpriteFrame = 0x47B610;

// Three bytes each of the game's own cursor code, taken out.
inline constexpr uint32_t kCursorCodeSites[] = {0x50D004, 0x50D825};
// Operands inside the game's code: the hot-spot table's stride shift and the table's address.
inline constexpr uint32_t kHotSpotShift = 0x50D095;
inline constexpr uint32_t kHotSpotTable = 0x50D09D;
// Bytes per pixel of the game's surfaces.
inline constexpr uint32_t kBytesPerPixel = 0x5FA22B;
// The game's bitmap class table, the first word of its bitmap objects.
inline constexpr uint32_t kBitmapClassTable = 0x63B9C8;

template <typename Value>
Value& Cell(uint32_t address) {
  return *reinterpret_cast<Value*>(uintptr_t{address});
}

template <typename Value>
Value& Field(void* object, uint32_t offset) {
  return *reinterpret_cast<Value*>(static_cast<uint8_t*>(object) + offset);
}

inline void* MouseManager() {
  return Cell<void*>(kMouseManager);
}
inline int32_t& CursorType(void* manager) {
  return Field<int32_t>(manager, kTypeField);
}
inline int32_t& CursorFrame(void* manager) {
  return Field<int32_t>(manager, kFrameField);
}
inline void*& CursorSprite(void* manager) {
  return Field<void*>(manager, kSpriteField);
}
inline int32_t& CursorMark(void* manager) {
  return Field<int32_t>(manager, kMarkField);
}
inline CRITICAL_SECTION* CursorLock(void* manager) {
  return &Field<CRITICAL_SECTION>(manager, kLockField);
}

inline int32_t SpriteWidth(void* sprite) {
  return Field<int32_t>(sprite, kSpriteWidthField);
}
inline int32_t SpriteHeight(void* sprite) {
  return Field<int32_t>(sprite, kSpriteHeightField);
}

// Gives the manager's sprite back through its own release operation and forgets it.
void ReleaseCursorSprite(void* manager);

// Draws `frame` of the sprite (its top-left width x height) into a 32-bit image at (0, 0).
void DrawSpriteFrame(void* sprite, int32_t frame, int32_t width, int32_t height, uint32_t* pixels,
                     int32_t image_width, int32_t image_height, int32_t pitch_bytes);

void BeforeSetCursor(void* manager);
void ResetGameCursor(void* manager);
// The game's set-cursor routine at its address: hooked, it enters the plug-in's replacement.
void SetGameCursor(void* manager, int32_t frame, int32_t type);

}  // namespace qz::cursor::game
