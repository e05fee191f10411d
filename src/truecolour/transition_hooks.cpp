#include "truecolour/transition_hooks.h"

#include <windows.h>

#include <algorithm>
#include <cstring>

#include "core/game_heap.h"
#include "core/splicer.h"
#include "truecolour/game_frame.h"
#include "truecolour/game_objects.h"
#include "truecolour/picture_mix.h"

namespace qz::truecolour {
namespace {

using core::At;
using core::ThisCall;
using game::BitmapPixels;
using game::ReadField;
using game::WriteField;

// The game's routines the transitions run on, called at their addresses; the bitmap routines
// there are the 32-bit ones.
constexpr uint32_t kTimer = 0x4F8970;
constexpr uint32_t kWait = 0x4F8980;
constexpr uint32_t kPresent = 0x4EDB20;
constexpr uint32_t kUpdateRectangle = 0x600430;
constexpr uint32_t kConstructBitmap = 0x44DC40;
constexpr uint32_t kGrabBitmap = 0x44E0C0;
constexpr uint32_t kDrawBitmap = 0x44DF80;
constexpr uint32_t kFillBitmap = 0x44E190;
constexpr uint32_t kDestroyBitmap = 0x44DDD0;
// Cross-fades only run while the game keeps this variable non-zero.
constexpr uint32_t kCrossFadesEnabled = 0x698A10;

constexpr int kFadeShift = 2;       // five brightness levels, 0 to 4 quarters
constexpr int kCrossFadeShift = 3;  // seven steps of eighths between the pictures
constexpr int32_t kDefaultDelay = 33;

uint32_t Ticks() {
  return At<uint32_t (*)()>(kTimer)();
}

// The game's wait takes the tick to wait for in its object register.
void WaitUntil(uint32_t tick) {
  At<ThisCall<void>>(kWait)(reinterpret_cast<void*>(uintptr_t{tick}));
}

void PresentScreen() {
  At<void (*)()>(kPresent)();
}

void UpdateRectangle(int32_t left, int32_t top, int32_t right, int32_t bottom) {
  int32_t rectangle[4] = {left, top, right, bottom};
  At<ThisCall<void>>(kUpdateRectangle)(rectangle);
}

// A bitmap of our own making for the length of a transition, destroyed when it ends. Its base
// constructor is the game's and decides how much of the object it fills, so the object is not on
// our stack, where a larger base would overwrite return addresses: it comes from the game's heap,
// as the game's own bitmaps do, with room to spare. Null when the heap has no room.
struct ScopedBitmap {
  void* object = nullptr;
  ScopedBitmap(int32_t width, int32_t height)
      : object(core::GameAllocate(game::kBitmapObjectSize)) {
    if (object == nullptr) return;
    std::memset(object, 0, game::kBitmapObjectSize);
    At<ThisCall<void*, int32_t, int32_t>>(kConstructBitmap)(object, width, height);
  }
  ~ScopedBitmap() {
    if (object == nullptr) return;
    At<ThisCall<void>>(kDestroyBitmap)(object);
    core::GameRelease(object);
  }
  ScopedBitmap(const ScopedBitmap&) = delete;
  ScopedBitmap& operator=(const ScopedBitmap&) = delete;
};

// Copies the rectangle of `screen` at (x, y) into the whole of `bitmap`.
void GrabScreen(void* bitmap, void* screen, int32_t x, int32_t y) {
  const PixelBuffer pixels = BitmapPixels(screen);
  using Grab = ThisCall<void, const uint32_t*, int32_t, int32_t, int32_t, int32_t, int32_t>;
  At<Grab>(kGrabBitmap)(bitmap, pixels.pixels, x, y, pixels.width, pixels.height, pixels.pitch);
}

// Draws the whole of `bitmap` into `screen` at (x, y).
void DrawOnScreen(void* bitmap, void* screen, int32_t x, int32_t y) {
  const PixelBuffer pixels = BitmapPixels(screen);
  const PixelBuffer source = BitmapPixels(bitmap);
  using Draw = ThisCall<void, int32_t, int32_t, int32_t, int32_t, uint32_t*, int32_t, int32_t,
                        int32_t, int32_t, int32_t, uint32_t>;
  At<Draw>(kDrawBitmap)(bitmap, 0, 0, source.width, source.height, pixels.pixels, x, y,
                        pixels.width, pixels.height, pixels.pitch, 0);
}

struct FadeSteps {
  int32_t first;
  int32_t step;
};

// Steps the screen's brightness through the copy's quarters, one present each.
void Fade(void* screen, void* copy, int32_t width, int32_t height, FadeSteps steps) {
  const PixelBuffer copy_pixels = BitmapPixels(copy);
  for (int32_t k = steps.first, n = 0; n < 5; ++n, k += steps.step) {
    const uint32_t start = Ticks();
    MixPictures(BitmapPixels(screen), {0, 0, width, height},
                {&copy_pixels, k, &copy_pixels, 0, kFadeShift});
    PresentScreen();
    UpdateRectangle(0, 0, width, height);
    WaitUntil(start + 1);
  }
}

// The game's screen bitmap; transitions of a screen without one do nothing.
void* ScreenBitmap(void* screen) {
  return ReadField<void*>(screen, game::kScreenBitmap);
}

// Copies the screen bitmap over the "QZ.Rez" rectangle, steps its brightness, then hands the
// bitmap and the copy to `finish`.
template <typename Finish>
void FadeScreen(void* screen, FadeSteps steps, Finish finish) {
  void* bitmap = ScreenBitmap(screen);
  if (bitmap == nullptr) return;
  const int32_t width = core::ReadVariable("QZ.Rez.X");
  const int32_t height = core::ReadVariable("QZ.Rez.Y");
  ScopedBitmap copy(width, height);
  if (copy.object == nullptr) return;
  GrabScreen(copy.object, bitmap, 0, 0);
  Fade(bitmap, copy.object, width, height, steps);
  finish(bitmap, copy.object, width, height);
}

}  // namespace

void FadeOut(void* screen, uint32_t, uint32_t restore) {
  FadeScreen(screen, {4, -1}, [restore](void* bitmap, void* copy, int32_t width, int32_t height) {
    using Fill = ThisCall<void, int32_t, int32_t, int32_t, int32_t, uint32_t>;
    At<Fill>(kFillBitmap)(bitmap, 0, 0, width, height, 0);
    UpdateRectangle(0, 0, width, height);
    if (game::ByteFlag(restore)) DrawOnScreen(copy, bitmap, 0, 0);
  });
}

void FadeIn(void* screen, uint32_t) {
  FadeScreen(screen, {0, 1},
             [](void* bitmap, void* copy, int32_t, int32_t) { DrawOnScreen(copy, bitmap, 0, 0); });
}

void CrossFade(void* screen, int32_t x, int32_t y, int32_t w, int32_t h, int32_t delay) {
  constexpr int kShiftKey = 0x10;
  if (GetKeyState(kShiftKey) < 0 || core::Cell<int32_t>(kCrossFadesEnabled) == 0) return;
  void* bitmap = ScreenBitmap(screen);
  void* previous = ReadField<void*>(screen, game::kScreenPrevious);
  // Without a previous picture there is nothing to fade from: the new one stays as drawn.
  if (bitmap == nullptr || previous == nullptr) return;
  if (x < 0) {
    w += x;
    x = 0;
  }
  if (y < 0) {
    h += y;
    y = 0;
  }
  const int32_t width = core::ReadVariable("QZ.Rez.X");
  const int32_t height = core::ReadVariable("QZ.Rez.Y");
  if (int64_t{x} + w > width) w = width - x;
  if (int64_t{y} + h > height) h = height - y;
  if (w <= 0 || h <= 0) return;
  const PixelBuffer previous_pixels = BitmapPixels(previous);
  w = std::min(w, ReadField<int32_t>(previous, game::kBitmapWidth));
  h = std::min(h, ReadField<int32_t>(previous, game::kBitmapHeight));
  const uint32_t held = ReadField<uint32_t>(screen, game::kScreenHeldField);
  WriteField<uint32_t>(screen, game::kScreenHeldField, 0);
  if (delay == -1) delay = kDefaultDelay;
  ScopedBitmap fresh(w, h);
  // Without room for the copy the new picture stays as the game drew it.
  if (fresh.object != nullptr) {
    GrabScreen(fresh.object, bitmap, x, y);
    const PixelBuffer fresh_pixels = BitmapPixels(fresh.object);
    for (int32_t k = 1; k <= 7; ++k) {
      const uint32_t start = Ticks();
      MixPictures(BitmapPixels(bitmap), {x, y, w, h},
                  {&fresh_pixels, k, &previous_pixels, 8 - k, kCrossFadeShift});
      PresentScreen();
      UpdateRectangle(x, y, x + w, y + h);
      WaitUntil(start + static_cast<uint32_t>(delay));
    }
    DrawOnScreen(fresh.object, bitmap, x, y);
    UpdateRectangle(x, y, x + w, y + h);
  }
  WriteField(screen, game::kScreenHeldField, held);
  // The previous picture is the game's: its own class releases it.
  using DeletingDestructor = ThisCall<void, uint32_t>;
  At<DeletingDestructor>(ReadField<const void*>(ReadField<const void*>(previous, 0), 0))(previous,
                                                                                         1);
  WriteField<void*>(screen, game::kScreenPrevious, nullptr);
}

}  // namespace qz::truecolour
