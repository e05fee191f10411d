#include "game/game_screen.h"

#include <windows.h>

#include <algorithm>
#include <cstdlib>

#include "game/game_calls.h"
#include "game/game_drawing.h"
#include "game/game_image.h"
#include "game/game_layout.h"
#include "game/x86_code.h"

namespace standin::game {
namespace {

std::vector<ScreenEvent> events;
uint32_t clock_tick = 0;
const GameScreen* presented = nullptr;
std::function<void()> on_present_handler;
int32_t destroyed = 0;
int32_t deleted = 0;

template <typename Routine>
uint32_t CodeOf(Routine routine) {
  return Address(reinterpret_cast<void*>(routine));
}

void* GameAllocate(uint32_t size) {
  return reinterpret_cast<void*>(static_cast<uintptr_t>(CallGameCdecl(kGameAllocate, {size})));
}

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wattributes"

uint32_t Ticks() {
  events.push_back({ScreenEvent::kTicks, clock_tick, {}, {}});
  return clock_tick;
}

__attribute__((thiscall)) void Wait(void* tick) {
  const auto until = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(tick));
  events.push_back({ScreenEvent::kWaited, until, {}, {}});
  clock_tick = std::max(clock_tick, until);
}

void Present() {
  ScreenEvent event{ScreenEvent::kPresented, clock_tick, {}, {}};
  if (presented != nullptr && presented->bitmap != nullptr && presented->bitmap->pixels) {
    const GameBitmap& bitmap = *presented->bitmap;
    for (int32_t y = 0; y < bitmap.height; ++y) {
      for (int32_t x = 0; x < bitmap.width; ++x) event.picture.push_back(bitmap.At(x, y));
    }
  }
  events.push_back(std::move(event));
  if (on_present_handler) on_present_handler();
}

void* const base_table[] = {nullptr};

__attribute__((thiscall)) GameBitmap* ConstructBase(GameBitmap* bitmap, const char* name,
                                                    uint32_t flags) {
  std::fill_n(reinterpret_cast<uint8_t*>(bitmap), 0x38, 0);
  bitmap->table = base_table;
  bitmap->name = name;
  bitmap->base_flags = flags;
  return bitmap;
}

// The game's own destruction: releases an owned buffer on the game's heap.
__attribute__((thiscall)) void Destroy(GameBitmap* bitmap) {
  ++destroyed;
  if (bitmap->pixels != nullptr && bitmap->borrowed == 0) {
    CallGameCdecl(kGameRelease, {Word(bitmap->pixels)});
  }
  bitmap->pixels = nullptr;
}

__attribute__((thiscall)) void DestroyAndRelease(GameBitmap* bitmap, uint32_t flags) {
  CallGame(kDestroyBitmap, {}, Word(bitmap));
  if ((flags & 1) != 0) {
    ++deleted;
    CallGameCdecl(kGameRelease, {Word(bitmap)});
  }
}

#pragma GCC diagnostic pop

}  // namespace

GameBitmap* NewGameBitmap(int32_t width, int32_t height) {
  auto* bitmap = static_cast<GameBitmap*>(GameAllocate(sizeof(GameBitmap)));
  CallConstructor(kConstructBitmap, bitmap,
                  {static_cast<uint32_t>(width), static_cast<uint32_t>(height)});
  return bitmap;
}

void DeleteGameBitmap(GameBitmap* bitmap) {
  CallGame(Word(bitmap->table[0]), {1}, Word(bitmap));
}

int32_t BitmapsDestroyed() {
  return destroyed;
}
int32_t BitmapsDeleted() {
  return deleted;
}

void RecordScreenUpdate(const int32_t* rectangle) {
  events.push_back(
      {ScreenEvent::kUpdated, 0, {rectangle[0], rectangle[1], rectangle[2], rectangle[3]}, {}});
}

const std::vector<ScreenEvent>& ScreenEvents() {
  return events;
}

void ForgetScreenEvents() {
  events.clear();
}

void SetPresentedScreen(const GameScreen* screen, std::function<void()> on_present) {
  presented = screen;
  on_present_handler = std::move(on_present);
}

void LayOutScreenCode() {
  LayOutRoutine(kTimer, CodeOf(&Ticks));
  LayOutRoutine(kWait, CodeOf(&Wait));
  LayOutRoutine(kPresent, CodeOf(&Present));
  LayOutRoutine(kBitmapBaseConstructor, CodeOf(&ConstructBase));
  LayOutRoutine(kDestroyBitmap, CodeOf(&Destroy));
  Cell<uint32_t>(kBitmapClassTable) = CodeOf(&DestroyAndRelease);
  // The game keeps cross-fades on unless told otherwise.
  Cell<int32_t>(kCrossFadesEnabled) = 1;
}

}  // namespace standin::game
