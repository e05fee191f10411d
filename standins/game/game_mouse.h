#pragma once
// The game's mouse manager and cursor sprites at their fixed addresses: the manager object and
// its critical section, the game's own cursor routines (each records its calls), the sprite-frame
// drawing routine, the hot-spot table, and the data bytes the cursor code reads.
#include <windows.h>

#include <cstdint>
#include <utility>
#include <vector>

namespace standin::game {

inline constexpr uint32_t kMouseManagerCell = 0x6992B0;
inline constexpr uint32_t kSetCursor = 0x50CEA0;       // (frame, type) on the manager
inline constexpr uint32_t kSetCursorFrame = 0x50DAB0;  // (frame) on the manager
inline constexpr uint32_t kIfDefaultRoutine = 0x50CF90;
inline constexpr uint32_t kMarkRoutine = 0x600430;  // also the screen's update of a rectangle
inline constexpr uint32_t kUnderDefaultRoutine = 0x603000;
inline constexpr uint32_t kBeforeSetCursor = 0x50D740;
inline constexpr uint32_t kCursorReset = 0x50D7B0;
inline constexpr uint32_t kDrawSpriteFrame = 0x47B610;
inline constexpr uint32_t kCursorCodeSites[] = {0x50D004, 0x50D825};  // three bytes each
inline constexpr uint32_t kHotSpotShiftOperand = 0x50D095;
inline constexpr uint32_t kHotSpotTableOperand = 0x50D09D;
inline constexpr uint32_t kBytesPerPixelCell = 0x5FA22B;

inline constexpr uint8_t kDefaultHotSpotShift = 1;  // 18 entries a cursor type
inline constexpr int32_t kHotSpotEntries = 8192;

// The game's cursor sprite of one type: every frame is `width` x `height`, opaque except for a
// transparent band of `border` pixels along its top and left edges (so that a picture turned
// upside down or mirrored shows), in one colour per type and frame. With a `picture` (width x
// height, row after row) every frame shows that instead: pixels with a top byte of 0 are
// transparent, the others show their low 24 bits.
struct CursorSpriteShape {
  int32_t width = 32;
  int32_t height = 32;
  int32_t border = 0;
  std::vector<uint32_t> picture;
};

struct GameSprite;

// The manager with the fields the cursor code uses.
struct MouseManager {
  void* const* table;
  uint8_t unused_04[0x48];
  int32_t type;        // 0x4C, -1 for none
  int32_t frame;       // 0x50, -1 for none
  GameSprite* sprite;  // 0x54
  uint8_t unused_58[0x10];
  int32_t mark;  // 0x68
  uint8_t unused_6c[0x0C];
  CRITICAL_SECTION lock;  // 0x78
};

// One call of the sprite-frame drawing routine, its 14 arguments in order, and whether the
// manager's lock was held by the drawing thread.
struct DrawCall {
  uint32_t arguments[14];
  bool under_lock;
};

// What the game's own cursor code saw.
struct MouseRecord {
  std::vector<std::pair<int32_t, int32_t>> set_cursor_calls;  // (frame, type)
  std::vector<int32_t> set_frame_calls;
  int32_t before_set_cursor_calls = 0;   // 0x50D740
  std::vector<int32_t> reset_arguments;  // 0x50D7B0
  std::vector<int32_t> if_default_arguments;
  std::vector<int32_t> marks_seen;             // +0x68 while 0x600430 ran
  std::vector<HCURSOR> cursors_under_default;  // GetCursor() in 0x603000, after a WM_SETCURSOR
  int32_t sprites_loaded = 0;
  int32_t sprites_released = 0;
  std::vector<DrawCall> draws;
};
MouseRecord& Mouse();

// Lays out the cursor part of the image (part of mapping it).
void LayOutMouseCode();

// The game creates its manager: no cursor, no sprite, its critical section ready.
MouseManager* CreateMouseManager();
MouseManager* TheMouseManager();

// Sprites the game loads for cursor types; a type without a shape has no sprite.
void SetCursorSprite(int32_t type, const CursorSpriteShape& shape);
void RemoveCursorSprite(int32_t type);
// The colour of the opaque pixels of a frame (a frame pixel: bits 24 to 31 are 0).
uint32_t SpriteFrameColour(int32_t type, int32_t frame);
int32_t LiveSprites();

// The hot-spot table: entry number -> (x, y), and the shift of its stride (9 << shift).
void SetHotSpot(int32_t entry, int32_t x, int32_t y);
void SetHotSpotShift(uint8_t shift);
void SetBytesPerPixel(uint8_t bytes);

// As the game: asks its manager for a cursor, steps the animated one, and runs the three
// routines the plug-in guards.
void RequestCursor(int32_t type, int32_t frame);
void StepCursorFrame(int32_t frame);
void RunIfDefaultRoutine(int32_t argument);
void RunMarkRoutine();
void RunUnderDefaultRoutine(int32_t argument);

}  // namespace standin::game
