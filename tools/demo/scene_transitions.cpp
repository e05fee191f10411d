#include "scene_transitions.h"

#include "game/game_calls.h"
#include "game/game_drawing.h"
#include "game/game_screen.h"
#include "scene_art.h"

namespace demo {
namespace {

using namespace standin::game;

constexpr int32_t kCrossFadeSteps = 8;

uint32_t U(int32_t value) {
  return static_cast<uint32_t>(value);
}

}  // namespace

void RunTransitions(const LockedSurface& frame,
                    const std::function<void(const char* name, int32_t present)>& on_present,
                    const std::function<void()>& step) {
  // The screen bitmap borrows the frame's pixels.
  GameBitmap* screen_bitmap = NewGameBitmap(0, 0);
  CallGameMethod(kAttachBuffer, screen_bitmap,
                 {U(kFrameWidth), U(kFrameHeight), U(frame.pitch_pixels * 4), Word(frame.pixels)});
  GameScreen screen{};
  screen.bitmap = screen_bitmap;
  const char* name = "";
  int32_t presents = 0;
  SetPresentedScreen(&screen, [&] { on_present(name, ++presents); });
  const auto play = [&](const char* transition, uint32_t routine, std::vector<uint32_t> arguments) {
    name = transition;
    presents = 0;
    CallGameMethod(routine, &screen, arguments);
  };
  play("fade-out", kFadeOut, {0, 1});
  play("fade-in", kFadeIn, {0});
  screen.previous = NewGameBitmap(kFrameWidth, kMapHeight);
  CallGameMethod(
      kGrabFromBuffer, screen.previous,
      {Word(frame.pixels), 0, 0, U(kFrameWidth), U(kFrameHeight), U(frame.pitch_pixels * 4)});
  for (int32_t i = 0; i < kCrossFadeSteps; ++i) step();
  play("cross-fade", kCrossFade, {0, 0, U(kFrameWidth), U(kMapHeight), U(-1)});
  SetPresentedScreen(nullptr);
  DeleteGameBitmap(screen_bitmap);
}

}  // namespace demo
