#pragma once
// The game's screen as its transitions see it: the clock and its wait, the present and the
// update of a rectangle, the bitmap class (base construction, destruction, deleting destructor)
// and the screen object that holds the screen bitmap and the previous picture.
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace standin::game {

inline constexpr uint32_t kTimer = 0x4F8970;
inline constexpr uint32_t kWait = 0x4F8980;
inline constexpr uint32_t kPresent = 0x4EDB20;
inline constexpr uint32_t kBitmapBaseConstructor = 0x558970;
inline constexpr uint32_t kDestroyBitmap = 0x44DDD0;
inline constexpr uint32_t kBitmapClassTable = 0x63B9C8;
inline constexpr uint32_t kCrossFadesEnabled = 0x698A10;
inline constexpr uint32_t kColourMaskVariables[] = {0x68C8B0, 0x68C8B4, 0x68C8B8};

// The game's bitmap object with the fields the 32-bit routines keep.
struct GameBitmap {
  const void* const* table;  // slot 0: destroy, and release the object when told
  const char* name;          // the base class's
  uint32_t base_flags;       // the base class's
  uint8_t unused_0c[0x10];
  uint32_t buffer_size;  // 0x1C
  uint32_t buffer_size2;
  int32_t width;  // 0x24
  int32_t height;
  int32_t pitch;
  uint32_t* pixels;  // 0x30
  uint8_t borrowed;  // 0x34
  uint8_t unused_35[0xCB];
  uint32_t At(int32_t x, int32_t y) const { return pixels[y * (pitch / 4) + x]; }
};
static_assert(offsetof(GameBitmap, buffer_size) == 0x1C && offsetof(GameBitmap, pixels) == 0x30 &&
              offsetof(GameBitmap, borrowed) == 0x34 && sizeof(GameBitmap) == 0x100);

// A bitmap as the game makes one: the object on the game's heap, built by the routine at the
// game's construction address. Released through its class with DeleteGameBitmap.
GameBitmap* NewGameBitmap(int32_t width, int32_t height);
void DeleteGameBitmap(GameBitmap* bitmap);

// Objects the game's bitmap class has destroyed (the destruction routine's runs) and fully
// released (object memory given back).
int32_t BitmapsDestroyed();
int32_t BitmapsDeleted();

// The screen object of the transitions.
struct GameScreen {
  uint8_t unused_00[0x40];
  GameBitmap* bitmap;  // 0x40
  uint32_t held;       // 0x44
  uint32_t unused_48;
  GameBitmap* previous;  // 0x4C
};
static_assert(offsetof(GameScreen, bitmap) == 0x40 && offsetof(GameScreen, previous) == 0x4C);

// What the screen saw, in order: presents (with the screen bitmap's pixels at that moment),
// updates of a rectangle (left, top, right, bottom), clock readings and waits.
struct ScreenEvent {
  enum Kind { kTicks, kWaited, kPresented, kUpdated } kind;
  uint32_t tick = 0;                   // kTicks: the reading; kWaited: the tick waited for
  std::array<int32_t, 4> rectangle{};  // kUpdated
  std::vector<uint32_t> picture;       // kPresented: the screen bitmap, row after row
};
const std::vector<ScreenEvent>& ScreenEvents();
void ForgetScreenEvents();

// The screen whose bitmap a present shows; `on_present` runs at every present after the record.
void SetPresentedScreen(const GameScreen* screen, std::function<void()> on_present = {});

// The game's update of a rectangle is laid out with the mouse code, which wraps it; it reports
// each update here.
void RecordScreenUpdate(const int32_t* rectangle);

// Lays out the screen's part of the image (part of mapping it).
void LayOutScreenCode();

}  // namespace standin::game
