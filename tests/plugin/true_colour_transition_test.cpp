// The game's screen transitions in 32 bits: what each present shows, how the game's clock is
// waited on, what is left on the screen, and what the game's heap and objects see.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "game/game_calls.h"
#include "game/game_drawing.h"
#include "game/game_image.h"
#include "game/game_screen.h"
#include "game/x86_code.h"
#include "true_colour_test_support.h"
#include "win32/win32_world.h"

namespace {

using qz::testing::StartTrueColour;
using standin::game::CallGameMethod;
using standin::game::GameBitmap;
using standin::game::GameScreen;
using standin::game::kCrossFade;
using standin::game::kFadeIn;
using standin::game::kFadeOut;
using standin::game::ScreenEvent;
using standin::game::ScreenEvents;

constexpr int32_t kWidth = 7;
constexpr int32_t kHeight = 5;

std::vector<uint32_t> Pixels(const GameBitmap& bitmap) {
  return std::vector<uint32_t>(bitmap.pixels, bitmap.pixels + bitmap.width * bitmap.height);
}

void FillRandom(GameBitmap& bitmap, uint32_t seed) {
  std::mt19937 random(seed);
  for (int32_t i = 0; i < bitmap.width * bitmap.height; ++i) {
    bitmap.pixels[i] = static_cast<uint32_t>(random());
  }
}

// Bytes 0-2 of each pixel from `rule`, byte 3 from `keep`.
std::vector<uint32_t> PerByte(const std::vector<uint32_t>& keep,
                              const std::function<uint32_t(int32_t i, int shift)>& rule) {
  std::vector<uint32_t> out(keep.size());
  for (size_t i = 0; i < keep.size(); ++i) {
    out[i] = keep[i] & 0xFF000000u;
    for (int shift = 0; shift < 24; shift += 8) {
      out[i] |= (rule(static_cast<int32_t>(i), shift) & 0xFF) << shift;
    }
  }
  return out;
}

uint32_t Byte(uint32_t pixel, int shift) {
  return pixel >> shift & 0xFF;
}

struct TransitionScene {
  GameScreen screen{};
  std::vector<uint32_t> original;
  int32_t live_blocks = 0;

  TransitionScene() {
    standin::host::Settings settings;
    settings.frame_width = kWidth;
    settings.frame_height = kHeight;
    StartTrueColour(settings);
    screen.bitmap = standin::game::NewGameBitmap(kWidth, kHeight);
    FillRandom(*screen.bitmap, 1);
    original = Pixels(*screen.bitmap);
    standin::game::SetPresentedScreen(&screen);
    standin::game::ForgetScreenEvents();
    live_blocks = standin::game::LiveHeapBlocks();
  }
};

std::vector<const ScreenEvent*> EventsOf(ScreenEvent::Kind kind) {
  std::vector<const ScreenEvent*> found;
  for (const ScreenEvent& event : ScreenEvents()) {
    if (event.kind == kind) found.push_back(&event);
  }
  return found;
}

// Every step reads the clock, presents, updates the rectangle and waits `delay` past its reading.
void ExpectSteps(int steps, std::array<int32_t, 4> rectangle, uint32_t delay) {
  const std::vector<ScreenEvent>& events = ScreenEvents();
  ASSERT_GE(events.size(), 4u * steps);
  for (int step = 0; step < steps; ++step) {
    const ScreenEvent* at = &events[4 * step];
    EXPECT_EQ(at[0].kind, ScreenEvent::kTicks);
    EXPECT_EQ(at[1].kind, ScreenEvent::kPresented);
    EXPECT_EQ(at[2].kind, ScreenEvent::kUpdated);
    EXPECT_EQ(at[2].rectangle, rectangle);
    EXPECT_EQ(at[3].kind, ScreenEvent::kWaited);
    EXPECT_EQ(at[3].tick, at[0].tick + delay);
  }
}

class TrueColourFadeOut : public ::testing::TestWithParam<bool> {};

TEST_P(TrueColourFadeOut, StepsThroughFiveBrightnessesToBlackAndRestoresWhenAsked) {
  TransitionScene scene;
  const bool restore = GetParam();
  const size_t heap_calls = standin::game::HeapCalls().size();
  CallGameMethod(kFadeOut, &scene.screen, {0x1234, restore ? 0xFF01u : 0xFF00u});
  // The copy's object comes from the game's heap, not the stack, as its pixels do.
  std::vector<uint32_t> allocated;
  for (size_t i = heap_calls; i < standin::game::HeapCalls().size(); ++i) {
    const auto& call = standin::game::HeapCalls()[i];
    if (call.allocation) allocated.push_back(call.size_or_block);
  }
  ASSERT_EQ(allocated.size(), 2u);
  EXPECT_GE(allocated[0], 0x100u);
  EXPECT_EQ(allocated[1], uint32_t{kWidth * kHeight * 4});
  ExpectSteps(5, {0, 0, kWidth, kHeight}, 1);
  const auto presents = EventsOf(ScreenEvent::kPresented);
  ASSERT_EQ(presents.size(), 5u);
  for (int k = 4; k >= 0; --k) {
    EXPECT_EQ(presents[4 - k]->picture, PerByte(scene.original,
                                                [&](int32_t i, int shift) {
                                                  return Byte(scene.original[i], shift) * k >> 2;
                                                }))
        << k;
  }
  ASSERT_EQ(ScreenEvents().size(), 21u);
  EXPECT_EQ(ScreenEvents().back().kind, ScreenEvent::kUpdated);
  EXPECT_EQ(Pixels(*scene.screen.bitmap),
            restore ? scene.original : std::vector<uint32_t>(kWidth * kHeight, 0));
  EXPECT_EQ(standin::game::LiveHeapBlocks(), scene.live_blocks) << "the copy is released";
}

INSTANTIATE_TEST_SUITE_P(Restore, TrueColourFadeOut, ::testing::Bool());

TEST(TrueColourFadeIn, StepsUpFromBlackAndEndsOnThePicture) {
  TransitionScene scene;
  CallGameMethod(kFadeIn, &scene.screen, {0});
  ExpectSteps(5, {0, 0, kWidth, kHeight}, 1);
  const auto presents = EventsOf(ScreenEvent::kPresented);
  ASSERT_EQ(presents.size(), 5u);
  for (int k = 0; k <= 4; ++k) {
    EXPECT_EQ(presents[k]->picture, PerByte(scene.original,
                                            [&](int32_t i, int shift) {
                                              return Byte(scene.original[i], shift) * k >> 2;
                                            }))
        << k;
  }
  EXPECT_EQ(ScreenEvents().size(), 20u);
  EXPECT_EQ(Pixels(*scene.screen.bitmap), scene.original);
  EXPECT_EQ(standin::game::LiveHeapBlocks(), scene.live_blocks);
}

// The new picture is on the screen, the previous one in a bitmap of the game's.
struct CrossFadeScene : TransitionScene {
  std::vector<uint32_t> previous_pixels;
  std::vector<uint32_t> held_at_presents;

  CrossFadeScene() {
    screen.previous = standin::game::NewGameBitmap(kWidth, kHeight);
    FillRandom(*screen.previous, 2);
    previous_pixels = Pixels(*screen.previous);
    screen.held = 0x5A5A;
    standin::game::SetPresentedScreen(&screen, [this] { held_at_presents.push_back(screen.held); });
    live_blocks = standin::game::LiveHeapBlocks();
  }
};

TEST(TrueColourCrossFade, BlendsSevenStepsWithTheDefaultDelayAndReleasesThePreviousPicture) {
  CrossFadeScene scene;
  const int32_t deleted = standin::game::BitmapsDeleted();
  // The rectangle starts left of the screen: x = -2 cuts two columns off its width.
  CallGameMethod(kCrossFade, &scene.screen,
                 {static_cast<uint32_t>(-2), 1, 6, 9, static_cast<uint32_t>(-1)});
  constexpr int32_t x = 0, y = 1, w = 4, h = 4;
  ExpectSteps(7, {x, y, x + w, y + h}, 33);
  const auto presents = EventsOf(ScreenEvent::kPresented);
  ASSERT_EQ(presents.size(), 7u);
  for (int k = 1; k <= 7; ++k) {
    EXPECT_EQ(
        presents[k - 1]->picture,
        PerByte(scene.original,
                [&](int32_t i, int shift) {
                  const int32_t px = i % kWidth;
                  const int32_t py = i / kWidth;
                  if (px >= x + w || py < y || py >= y + h) return Byte(scene.original[i], shift);
                  const uint32_t previous = scene.previous_pixels[(py - y) * kWidth + (px - x)];
                  return (Byte(scene.original[i], shift) * k + Byte(previous, shift) * (8 - k)) >>
                         3;
                }))
        << k;
  }
  EXPECT_EQ(scene.held_at_presents, std::vector<uint32_t>(7, 0));
  EXPECT_EQ(scene.screen.held, 0x5A5Au);
  EXPECT_EQ(Pixels(*scene.screen.bitmap), scene.original);
  EXPECT_EQ(scene.screen.previous, nullptr);
  EXPECT_EQ(standin::game::BitmapsDeleted(), deleted + 1);
  EXPECT_EQ(standin::game::LiveHeapBlocks(), scene.live_blocks - 2);
}

// True: Shift is held; false: the game has cross-fades off.
class TrueColourCrossFadeSkipped : public ::testing::TestWithParam<bool> {};

TEST_P(TrueColourCrossFadeSkipped, ReturnsAtOnceLeavingTheScreenAsTheGameDrewIt) {
  CrossFadeScene scene;
  if (GetParam()) {
    qz::win32::SetKeyDown(VK_SHIFT, true);
  } else {
    standin::Cell<int32_t>(standin::game::kCrossFadesEnabled) = 0;
  }
  GameBitmap* previous = scene.screen.previous;
  CallGameMethod(kCrossFade, &scene.screen, {0, 0, kWidth, kHeight, 5});
  EXPECT_TRUE(ScreenEvents().empty());
  EXPECT_EQ(Pixels(*scene.screen.bitmap), scene.original);
  EXPECT_EQ(scene.screen.previous, previous);
}

INSTANTIATE_TEST_SUITE_P(ShiftOrOff, TrueColourCrossFadeSkipped, ::testing::Bool());

TEST(TrueColourCrossFade, GivenDelaysAreWaitedAsTheyCome) {
  CrossFadeScene scene;
  CallGameMethod(kCrossFade, &scene.screen, {1, 0, kWidth, kHeight, 5});
  ExpectSteps(7, {1, 0, kWidth, kHeight}, 5);
}

}  // namespace
