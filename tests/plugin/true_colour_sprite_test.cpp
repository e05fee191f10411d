// Sprite frames drawn as the game draws them: its calls on its frame objects reach the 32-bit
// drawers with the game's own arguments, and the player sees the palette's colours in 32 bits.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstddef>
#include <functional>
#include <random>
#include <vector>

#include "../portable/draw_frame_test_support.h"
#include "game/game_calls.h"
#include "game/game_drawing.h"
#include "game/game_object_layouts.h"
#include "game/x86_code.h"
#include "true_colour_test_support.h"
#include "truecolour/draw_frame_routines.h"

namespace {

using namespace qz::truecolour;
using namespace qz::truecolour::testing;
using qz::testing::StartTrueColour;
using standin::game::CallGameMethod;
using standin::game::DrawingRuns;
using standin::game::GameFrameObject;
using standin::game::GamePaletteObject;
using standin::game::Word;

// Stack words whose low byte (or low 16 bits for a colour) carries the value and whose other bits
// are noise the routines must ignore.
uint32_t ByteWord(bool flag) {
  return flag ? 0xA5C3B201u : 0xA5C3B200u;
}
uint32_t ColourWord(uint16_t colour) {
  return 0x5A3C0000u | colour;
}

// A frame in the game's layout: the encoded frame, its object and a palette object.
struct GameFrame {
  EncodedFrame encoded;
  std::vector<uint8_t> object;
  std::vector<uint8_t> palette_object;
};

GameFrame MakeGameFrame(const FramePicture& picture, uint32_t type,
                        const std::vector<uint16_t>& palette, uint32_t seed) {
  FrameDescription cell;
  cell.type = type;
  cell.fullWidth = picture.width + 7;
  cell.fullHeight = picture.height + 5;
  cell.left = 3;
  cell.top = 2;
  GameFrame frame{EncodeFrame(picture, cell, seed), {}, GamePaletteObject(palette)};
  frame.object = GameFrameObject(frame.encoded.frame);
  return frame;
}

// A request that is clipped on every side: it starts left of the destination and runs past the
// cell and the destination's bottom.
FrameRequest ClippedRequest(const FrameDescription& frame, Destination& destination,
                            const std::vector<uint16_t>& palette) {
  return destination.Request(1, 0, frame.fullWidth - 2, frame.fullHeight - 1, -2, 3, palette);
}

std::vector<uint32_t> GameArguments(const FrameRequest& request, const GameFrame& frame,
                                    const std::vector<uint32_t>& trailing) {
  std::vector<uint32_t> words = {static_cast<uint32_t>(request.srcX),
                                 static_cast<uint32_t>(request.srcY),
                                 static_cast<uint32_t>(request.w),
                                 static_cast<uint32_t>(request.h),
                                 Word(request.dst),
                                 static_cast<uint32_t>(request.destX),
                                 static_cast<uint32_t>(request.destY),
                                 static_cast<uint32_t>(request.destW),
                                 static_cast<uint32_t>(request.destH),
                                 static_cast<uint32_t>(request.pitch),
                                 Word(frame.palette_object.data())};
  words.insert(words.end(), trailing.begin(), trailing.end());
  return words;
}

size_t ChangedPixels(const std::vector<uint32_t>& before, const std::vector<uint32_t>& after) {
  size_t changed = 0;
  for (size_t i = 0; i < before.size(); ++i) changed += before[i] != after[i];
  return changed;
}

struct SpriteCase {
  const char* name;
  uint32_t routine;
  uint32_t type;                   // a layout the routine draws itself
  std::vector<uint8_t> specials;   // run values of the picture
  std::vector<uint32_t> trailing;  // the game's arguments after the common eleven
  std::function<void(const FrameDescription&, const FrameRequest&)> draw;  // the same, plainly
};

TEST(TrueColourSprites, EachGameRoutineDrawsWhatItsDrawerDrawsFromTheGamesArguments) {
  StartTrueColour({});
  using namespace standin::game;
  const std::vector<SpriteCase> cases = {
      {"DrawFrame",
       kDrawFrame,
       1,
       {0, 1, 4, 9},
       {ByteWord(true), ByteWord(false)},
       [](auto& f, auto& r) { DrawFrame(f, r, true, false); }},
      {"DrawFrameShaded",
       kDrawFrameShaded,
       1,
       {1, 4, 5, 6, 7},
       {ByteWord(false), ColourWord(0), ByteWord(false)},
       [](auto& f, auto& r) { DrawFrameShaded(f, r, false, 0, false); }},
      {"DrawFrameShaded half",
       kDrawFrameShaded,
       1,
       {1, 4, 5, 6, 7},
       {ByteWord(true), ColourWord(0xF81F), ByteWord(true)},
       [](auto& f, auto& r) { DrawFrameShaded(f, r, true, 0xF81F, true); }},
      {"DrawFrameFlagged",
       kDrawFrameFlagged,
       3,
       {1, 5},
       {ByteWord(true), ColourWord(0x07E0)},
       [](auto& f, auto& r) { DrawFrameFlagged(f, r, true, 0x07E0); }},
      {"DrawFrameFlaggedHalf",
       kDrawFrameFlaggedHalf,
       3,
       {2, 5},
       {ColourWord(0x001F), ByteWord(true)},
       [](auto& f, auto& r) { DrawFrameFlaggedHalf(f, r, 0x001F, true); }},
      {"DrawFrameShadowPacked",
       kDrawFrameShadowPacked,
       3,
       {1, 2, 4},
       {ByteWord(true)},
       [](auto& f, auto& r) { DrawFrameShadowPacked(f, r, true, {}); }},
      {"DrawFrameOpaque",
       kDrawFrameOpaque,
       2,
       {3},
       {ByteWord(true), ByteWord(true)},
       [](auto& f, auto& r) { DrawFrameOpaque(f, r, true, true); }},
      {"DrawFrameShadowRows",
       kDrawFrameShadowRows,
       2,
       {1, 2, 3, 4, 5},
       {ByteWord(false), ByteWord(true)},
       [](auto& f, auto& r) { DrawFrameShadowRows(f, r, false, true); }},
      {"DrawFrameHalf",
       kDrawFrameHalf,
       1,
       {0, 6},
       {ByteWord(true), ByteWord(true)},
       [](auto& f, auto& r) { DrawFrameHalf(f, r, true, true); }},
  };
  for (const SpriteCase& sprite : cases) {
    SCOPED_TRACE(sprite.name);
    std::mt19937 random(sprite.routine);
    const std::vector<uint16_t> palette = RandomPalette(random);
    const int32_t width = sprite.type == 3 ? 64 : 41;
    const FramePicture picture = RandomPicture(random, width, 23, sprite.specials);
    const GameFrame frame = MakeGameFrame(picture, sprite.type, palette, random());
    const auto destination_seed = random();
    std::mt19937 game_random(destination_seed);
    std::mt19937 plain_random(destination_seed);
    Destination game_destination(width + 4, 27, 3, game_random);
    Destination plain_destination(width + 4, 27, 3, plain_random);
    const std::vector<uint32_t> before = game_destination.pixels;

    const FrameRequest game_request =
        ClippedRequest(frame.encoded.frame, game_destination, palette);
    CallGameMethod(sprite.routine, frame.object.data(),
                   GameArguments(game_request, frame, sprite.trailing));
    sprite.draw(frame.encoded.frame,
                ClippedRequest(frame.encoded.frame, plain_destination, palette));

    EXPECT_EQ(game_destination.pixels, plain_destination.pixels);
    EXPECT_GT(ChangedPixels(before, game_destination.pixels), 100u);
  }
  EXPECT_TRUE(DrawingRuns().empty()) << "the game's own 16-bit routines never ran";
}

TEST(TrueColourSprites, ThePalettesColoursReachTheDestinationInThirtyTwoBits) {
  StartTrueColour({});
  std::vector<uint16_t> palette(256, 0);
  palette[1] = 0xF800;
  palette[2] = 0x07E0;
  palette[3] = 0xFFFF;
  const FramePicture picture{3, 1, {{false, 1}, {false, 2}, {false, 3}}};
  FrameDescription cell;
  cell.fullWidth = 3;
  cell.fullHeight = 1;
  const EncodedFrame encoded = EncodeFrame(picture, cell, 0);
  const std::vector<uint8_t> object = GameFrameObject(encoded.frame);
  const std::vector<uint8_t> palette_object = GamePaletteObject(palette);
  constexpr uint32_t kOld = 0xFF000000;
  constexpr uint32_t kRed = 0xF80000;
  constexpr uint32_t kGreen = 0x00FC00;
  constexpr uint32_t kWhite = 0xF8FCF8;
  const struct {
    bool mirror;
    std::vector<uint32_t> row;
  } cases[] = {{false, {kOld, kRed, kGreen, kWhite, kOld}},
               {true, {kOld, kWhite, kGreen, kRed, kOld}}};
  for (const auto& drawn : cases) {
    std::vector<uint32_t> destination(5 * 3, kOld);
    const std::vector<uint32_t> arguments = {0,
                                             0,
                                             3,
                                             1,
                                             Word(destination.data()),
                                             1,
                                             1,
                                             5,
                                             3,
                                             5 * 4,
                                             Word(palette_object.data()),
                                             ByteWord(drawn.mirror),
                                             ByteWord(false)};
    CallGameMethod(standin::game::kDrawFrameOpaque, object.data(), arguments);
    const std::vector<uint32_t> middle(destination.begin() + 5, destination.begin() + 10);
    EXPECT_EQ(middle, drawn.row) << "mirror " << drawn.mirror;
    EXPECT_EQ(std::vector<uint32_t>(destination.begin(), destination.begin() + 5),
              std::vector<uint32_t>(5, kOld));
  }
}

// --- The special-colour shadow routine of another modification ------------------------------

struct OfferedRun {
  int32_t code;
  ptrdiff_t pixel;  // from the destination's start
  int32_t count;
  int32_t step;
  bool operator==(const OfferedRun&) const = default;
};

std::vector<OfferedRun> offered_runs;
const uint32_t* destination_start = nullptr;
constexpr uint32_t kSpecialColour = 0x123456;

// As the other modification publishes it: paints code-2 runs itself and leaves the rest.
int32_t WINAPI PaintCodeTwo(int32_t code, uint32_t** destination, int32_t count, int32_t step) {
  offered_runs.push_back({code, *destination - destination_start, count, step});
  if (code != 2) return 0;
  for (int32_t i = 0; i < count; ++i) {
    if (step < 0) --*destination;
    **destination = kSpecialColour;
    if (step > 0) ++*destination;
  }
  return 1;
}

int32_t PaintCodeTwoDirectly(void*, int32_t code, uint32_t** destination, int32_t count,
                             int32_t step) {
  return PaintCodeTwo(code, destination, count, step);
}

uint32_t PaintCodeTwoAddress() {
  return standin::Address(reinterpret_cast<void*>(&PaintCodeTwo));
}

// Draws a shadow frame through the game and, plainly, with `plain_callback`; returns the runs
// offered through the game and leaves the two destinations to compare.
struct ShadowDraw {
  std::vector<uint32_t> game_pixels;
  std::vector<uint32_t> plain_pixels;
  std::vector<OfferedRun> game_runs;
  std::vector<OfferedRun> plain_runs;
};

ShadowDraw DrawShadow(bool mirror, SpecialColourCallback plain_callback) {
  std::mt19937 random(mirror ? 7 : 8);
  const std::vector<uint16_t> palette = RandomPalette(random);
  const FramePicture picture = RandomPicture(random, 64, 19, {1, 2, 4});
  const GameFrame frame = MakeGameFrame(picture, 3, palette, random());
  const auto seed = random();
  std::mt19937 game_random(seed);
  std::mt19937 plain_random(seed);
  Destination game_destination(66, 22, 2, game_random);
  Destination plain_destination(66, 22, 2, plain_random);
  ShadowDraw draw;

  offered_runs.clear();
  destination_start = game_destination.pixels.data();
  const FrameRequest request = ClippedRequest(frame.encoded.frame, game_destination, palette);
  CallGameMethod(standin::game::kDrawFrameShadowPacked, frame.object.data(),
                 GameArguments(request, frame, {ByteWord(mirror)}));
  draw.game_runs = offered_runs;

  offered_runs.clear();
  destination_start = plain_destination.pixels.data();
  DrawFrameShadowPacked(frame.encoded.frame,
                        ClippedRequest(frame.encoded.frame, plain_destination, palette), mirror,
                        plain_callback);
  draw.plain_runs = offered_runs;
  draw.game_pixels = game_destination.pixels;
  draw.plain_pixels = plain_destination.pixels;
  return draw;
}

TEST(TrueColourSpecialColour, ThePublishedRoutineIsOfferedEveryRunAndPaintsWhatItTakes) {
  StartTrueColour({}, PaintCodeTwoAddress());
  for (const bool mirror : {false, true}) {
    SCOPED_TRACE(mirror ? "mirrored" : "plain");
    const ShadowDraw draw = DrawShadow(mirror, {&PaintCodeTwoDirectly, nullptr});
    ASSERT_FALSE(draw.game_runs.empty());
    EXPECT_EQ(draw.game_runs, draw.plain_runs);
    for (const OfferedRun& run : draw.game_runs) EXPECT_EQ(run.step, mirror ? -1 : 1);
    EXPECT_EQ(draw.game_pixels, draw.plain_pixels);
    EXPECT_NE(std::find(draw.game_pixels.begin(), draw.game_pixels.end(), kSpecialColour),
              draw.game_pixels.end());
  }
}

TEST(TrueColourSpecialColour, WithoutAPublishedRoutineNothingIsCalledAndShadowsStillFall) {
  StartTrueColour({}, 0u);
  // Published after start-up: the drawers keep the value they were installed with.
  standin::splicer::Publish("Tarn.ShadowDrawNewSpeccolorFunc",
                            static_cast<int32_t>(PaintCodeTwoAddress()));
  const ShadowDraw draw = DrawShadow(false, {});
  EXPECT_TRUE(draw.game_runs.empty());
  EXPECT_EQ(draw.game_pixels, draw.plain_pixels);
}

}  // namespace
