#include "game/game_mouse.h"

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <map>

#include "game/game_calls.h"
#include "game/game_image.h"
#include "game/game_layout.h"
#include "game/game_screen.h"
#include "game/game_window.h"
#include "game/x86_code.h"

namespace standin::game {

// A cursor sprite with the fields the plug-in reads; behind them the stand-in's own.
struct GameSprite {
  void* const* table;  // slot 1 releases the sprite
  uint8_t unused_04[0x2C];
  int32_t width;   // 0x30
  int32_t height;  // 0x34
  int32_t type;
  int32_t border;
  std::vector<uint32_t> picture;
};
static_assert(offsetof(GameSprite, width) == 0x30 && offsetof(GameSprite, height) == 0x34);
static_assert(offsetof(MouseManager, type) == 0x4C && offsetof(MouseManager, frame) == 0x50 &&
              offsetof(MouseManager, sprite) == 0x54 && offsetof(MouseManager, mark) == 0x68 &&
              offsetof(MouseManager, lock) == 0x78);

namespace {

MouseRecord record;
MouseManager manager;
std::map<int32_t, CursorSpriteShape> shapes;
int32_t live_sprites = 0;
int32_t hot_spots[kHotSpotEntries * 2];

template <typename Routine>
uint32_t CodeOf(Routine routine) {
  return Address(reinterpret_cast<void*>(routine));
}

bool HeldByThisThread(const CRITICAL_SECTION& lock) {
  return lock.OwningThread ==
         reinterpret_cast<HANDLE>(static_cast<uintptr_t>(GetCurrentThreadId()));
}

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wattributes"

__attribute__((thiscall)) void ReleaseSprite(GameSprite* sprite) {
  ++record.sprites_released;
  --live_sprites;
  delete sprite;
}

[[noreturn]] __attribute__((thiscall)) void UnexpectedSpriteSlot(GameSprite*) {
  std::abort();
}

void* const sprite_table[] = {reinterpret_cast<void*>(&UnexpectedSpriteSlot),
                              reinterpret_cast<void*>(&ReleaseSprite)};

GameSprite* LoadSprite(int32_t type) {
  const auto shape = shapes.find(type);
  if (shape == shapes.end()) return nullptr;
  ++record.sprites_loaded;
  ++live_sprites;
  return new GameSprite{sprite_table,         {},   shape->second.width,
                        shape->second.height, type, shape->second.border,
                        shape->second.picture};
}

// The game's own set-cursor routine: it keeps the sprite of the asked type at +0x54.
__attribute__((thiscall)) void GameSetCursor(MouseManager* self, int32_t frame, int32_t type) {
  record.set_cursor_calls.emplace_back(frame, type);
  EnterCriticalSection(&self->lock);
  if (self->sprite != nullptr && self->sprite->type != type) {
    ReleaseSprite(self->sprite);
    self->sprite = nullptr;
  }
  if (self->sprite == nullptr) self->sprite = LoadSprite(type);
  LeaveCriticalSection(&self->lock);
}

__attribute__((thiscall)) void GameSetCursorFrame(MouseManager*, int32_t frame) {
  record.set_frame_calls.push_back(frame);
}

__attribute__((thiscall)) void GameIfDefault(MouseManager*, int32_t argument) {
  record.if_default_arguments.push_back(argument);
}

// The game's update of a rectangle (left, top, right, bottom at its object), which the cursor
// handling wraps: what the mouse manager's mark was, and the update for the screen.
__attribute__((thiscall)) void GameMark(const int32_t* rectangle) {
  const MouseManager* mouse = TheMouseManager();
  record.marks_seen.push_back(mouse != nullptr ? mouse->mark : 0);
  RecordScreenUpdate(rectangle);
}

// The routine pumps the window's messages as the game's longer routines do: a WM_SETCURSOR may
// come in while it runs.
__attribute__((thiscall)) void GameUnderDefault(MouseManager*, int32_t) {
  SendToGameWindow(WM_SETCURSOR, 0, 0);
  record.cursors_under_default.push_back(GetCursor());
}

__attribute__((thiscall)) void GameBeforeSetCursor(MouseManager*) {
  ++record.before_set_cursor_calls;
}

__attribute__((thiscall)) void GameCursorReset(MouseManager*, int32_t argument) {
  record.reset_arguments.push_back(argument);
}

// Draws the source rectangle of a frame at the destination position, clipped to the frame and
// to the destination size, in 32-bit pixels; transparent pixels are left as they were.
__attribute__((thiscall)) void GameDrawSpriteFrame(GameSprite* sprite, int32_t group, int32_t frame,
                                                   int32_t source_x, int32_t source_y,
                                                   int32_t width, int32_t height,
                                                   uint8_t* destination, int32_t destination_x,
                                                   int32_t destination_y, int32_t destination_width,
                                                   int32_t destination_height, int32_t pitch_bytes,
                                                   int32_t flags, int32_t mode) {
  const int32_t arguments[] = {group,
                               frame,
                               source_x,
                               source_y,
                               width,
                               height,
                               0,
                               destination_x,
                               destination_y,
                               destination_width,
                               destination_height,
                               pitch_bytes,
                               flags,
                               mode};
  DrawCall call{};
  for (int i = 0; i < 14; ++i) call.arguments[i] = static_cast<uint32_t>(arguments[i]);
  call.arguments[6] = Address(destination);
  call.under_lock = HeldByThisThread(manager.lock);
  record.draws.push_back(call);
  const uint32_t colour = SpriteFrameColour(sprite->type, frame);
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) {
      const int32_t sx = source_x + x;
      const int32_t sy = source_y + y;
      const int32_t dx = destination_x + x;
      const int32_t dy = destination_y + y;
      const bool inside = sx < sprite->width && sy < sprite->height && dx < destination_width &&
                          dy < destination_height;
      if (!inside || sx < sprite->border || sy < sprite->border) continue;
      uint32_t pixel = colour;
      if (!sprite->picture.empty()) {
        pixel = sprite->picture[static_cast<size_t>(sy) * sprite->width + sx];
        if (pixel >> 24 == 0) continue;
        pixel &= 0xFFFFFF;
      }
      std::memcpy(destination + static_cast<ptrdiff_t>(dy) * pitch_bytes + dx * 4, &pixel, 4);
    }
  }
}

#pragma GCC diagnostic pop

}  // namespace

MouseRecord& Mouse() {
  return record;
}

void LayOutMouseCode() {
  LayOutRoutine(kSetCursor, CodeOf(&GameSetCursor));
  LayOutRoutine(kSetCursorFrame, CodeOf(&GameSetCursorFrame));
  LayOutRoutine(kIfDefaultRoutine, CodeOf(&GameIfDefault));
  LayOutRoutine(kMarkRoutine, CodeOf(&GameMark));
  LayOutRoutine(kUnderDefaultRoutine, CodeOf(&GameUnderDefault));
  LayOutRoutine(kBeforeSetCursor, CodeOf(&GameBeforeSetCursor));
  LayOutRoutine(kCursorReset, CodeOf(&GameCursorReset));
  LayOutRoutine(kDrawSpriteFrame, CodeOf(&GameDrawSpriteFrame));
  // call [eax+8]: the game's own cursor drawing, which the plug-in takes out.
  for (uint32_t site : kCursorCodeSites) {
    CodeWriter code(site);
    code.Byte(0xFF);
    code.Byte(0x50);
    code.Byte(0x08);
  }
  // shl eax, shift; mov eax, [eax*8 + table]
  CodeWriter shift(kHotSpotShiftOperand - 2);
  shift.Byte(0xC1);
  shift.Byte(0xE0);
  shift.Byte(kDefaultHotSpotShift);
  CodeWriter table(kHotSpotTableOperand - 3);
  table.Byte(0x8B);
  table.Byte(0x04);
  table.Byte(0xC5);
  table.Dword(Address(hot_spots));
  Cell<uint8_t>(kBytesPerPixelCell) = 4;
}

MouseManager* CreateMouseManager() {
  MapImage();
  std::memset(&manager, 0, sizeof manager);
  manager.type = -1;
  manager.frame = -1;
  InitializeCriticalSection(&manager.lock);
  shapes.clear();
  for (int32_t type = 0; type <= 4; ++type) shapes[type] = CursorSpriteShape{};
  Cell<MouseManager*>(kMouseManagerCell) = &manager;
  return &manager;
}

MouseManager* TheMouseManager() {
  return Cell<MouseManager*>(kMouseManagerCell);
}

void SetCursorSprite(int32_t type, const CursorSpriteShape& shape) {
  shapes[type] = shape;
}

void RemoveCursorSprite(int32_t type) {
  shapes.erase(type);
}

uint32_t SpriteFrameColour(int32_t type, int32_t frame) {
  const auto red = static_cast<uint32_t>(0x30 + 0x30 * (type & 3) + 0x10 * (type >> 2));
  const auto green = static_cast<uint32_t>(frame * 9) & 0xFF;
  return (red & 0xFF) << 16 | green << 8 | 0x80;
}

int32_t LiveSprites() {
  return live_sprites;
}

void SetHotSpot(int32_t entry, int32_t x, int32_t y) {
  hot_spots[2 * entry] = x;
  hot_spots[2 * entry + 1] = y;
}

void SetHotSpotShift(uint8_t shift) {
  Cell<uint8_t>(kHotSpotShiftOperand) = shift;
}

void SetBytesPerPixel(uint8_t bytes) {
  Cell<uint8_t>(kBytesPerPixelCell) = bytes;
}

void RequestCursor(int32_t type, int32_t frame) {
  CallGame(kSetCursor, {static_cast<uint32_t>(frame), static_cast<uint32_t>(type)},
           Word(TheMouseManager()));
}

void StepCursorFrame(int32_t frame) {
  CallGame(kSetCursorFrame, {static_cast<uint32_t>(frame)}, Word(TheMouseManager()));
}

void RunIfDefaultRoutine(int32_t argument) {
  CallGame(kIfDefaultRoutine, {static_cast<uint32_t>(argument)}, Word(TheMouseManager()));
}

void RunMarkRoutine() {
  CallGame(kMarkRoutine, {}, Word(TheMouseManager()));
}

void RunUnderDefaultRoutine(int32_t argument) {
  CallGame(kUnderDefaultRoutine, {static_cast<uint32_t>(argument)}, Word(TheMouseManager()));
}

}  // namespace standin::game
