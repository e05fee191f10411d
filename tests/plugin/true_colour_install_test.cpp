// The switch of the game to 32-bit pixels as Start makes it: what the host is told, what is
// written into the game and in which order, and which routines of the game answer afterwards.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "game/game_calls.h"
#include "game/game_drawing.h"
#include "game/game_image.h"
#include "game/game_mouse.h"
#include "game/pixel_loops.h"
#include "game/x86_code.h"
#include "true_colour_test_support.h"

namespace {

using qz::testing::StartTrueColour;
using standin::Bytes;
using standin::game::DrawingRuns;
using standin::host::Settings;
using standin::splicer::HookRecord;
using standin::splicer::WriteRecord;

std::vector<WriteRecord> TrueColourWrites() {
  std::vector<WriteRecord> writes;
  for (const WriteRecord& write : standin::splicer::Writes()) {
    if (write.instance == "QZ.True32") writes.push_back(write);
  }
  return writes;
}

std::vector<HookRecord> TrueColourHooks() {
  std::vector<HookRecord> hooks;
  for (const HookRecord& hook : standin::splicer::Hooks()) {
    if (hook.instance == "QZ.True32") hooks.push_back(hook);
  }
  return hooks;
}

Settings WithFrameWidth(int32_t width) {
  Settings settings;
  settings.frame_width = width;
  return settings;
}

// --- What the host is told -------------------------------------------------------------------

class TrueColourPitch : public ::testing::TestWithParam<std::pair<int32_t, int32_t>> {};

TEST_P(TrueColourPitch, FollowsTheFrameWidthAtFourBytesAPixel) {
  const auto [width, pitch] = GetParam();
  StartTrueColour(WithFrameWidth(width));
  EXPECT_EQ(standin::splicer::Value("QZ.BPP"), 32);
  EXPECT_EQ(standin::splicer::Value("QZ.Rez.Scanline"), pitch);
}

INSTANTIATE_TEST_SUITE_P(Widths, TrueColourPitch,
                         ::testing::Values(std::pair{800, 3200}, std::pair{0, 0}, std::pair{1, 4},
                                           std::pair{1366, 5464}));

// --- What is written into the game ---------------------------------------------------------

// The game's pixel loops copy two rows of a source picture into a destination picture, leaving
// the destination pixel where the source pixel is 0. Each record also names a picture of the
// other width, filled with other pixels, so reading the wrong one shows.
constexpr int32_t kLoopPixels = 9;
constexpr int32_t kLoopRows = 2;
constexpr int32_t kLoopColumn = 3;
constexpr int32_t kSourcePitch = 13;       // pixels
constexpr int32_t kDestinationPitch = 17;  // pixels; one row more than the loops reach
constexpr uint32_t kUnwritten = 0xBBBBBBBB;

// Every fourth pixel is 0; at 4 bytes one more has only its low half 0, which must be drawn.
uint32_t SourcePixel(int32_t row, int32_t i, bool wide) {
  if (i % 4 == 1) return 0;
  if (wide && i == 6) return 0x00070000;
  return (wide ? 0x00A00000u : 0x8000u) + static_cast<uint32_t>(row * 0x100 + i + 1);
}

template <typename Pixel>
void ExpectEveryPixelLoopCopies() {
  constexpr bool wide = sizeof(Pixel) == 4;
  std::vector<Pixel> source(kSourcePitch * kLoopRows);
  for (int32_t row = 0; row < kLoopRows; ++row) {
    for (int32_t i = 0; i < kLoopPixels; ++i) {
      source[row * kSourcePitch + i] = static_cast<Pixel>(SourcePixel(row, i, wide));
    }
  }
  std::vector<uint32_t> other_source(kSourcePitch * kLoopRows, 0x00DEAD00);
  std::vector<uint32_t> other_destination(kDestinationPitch * (kLoopRows + 1));
  const auto picture = [](void* pixels, void* other, int32_t pitch) {
    return wide ? standin::game::LoopPicture{other, pitch * 2, pixels, pitch * 4}
                : standin::game::LoopPicture{pixels, pitch * 2, other, pitch * 4};
  };
  for (size_t loop = 0; loop < standin::game::kPixelLoopCount; ++loop) {
    SCOPED_TRACE(::testing::Message() << "loop " << loop + 1);
    std::vector<Pixel> destination(kDestinationPitch * (kLoopRows + 1),
                                   static_cast<Pixel>(kUnwritten));
    std::vector<Pixel> expected = destination;
    const int32_t start = standin::game::PixelLoopTakesColumn(loop) ? kLoopColumn : 0;
    for (int32_t row = 0; row < kLoopRows; ++row) {
      for (int32_t i = 0; i < kLoopPixels; ++i) {
        const Pixel pixel = source[row * kSourcePitch + i];
        if (pixel != 0) expected[row * kDestinationPitch + start + i] = pixel;
      }
    }
    standin::game::RunPixelLoop(
        loop, picture(source.data(), other_source.data(), kSourcePitch),
        picture(destination.data(), other_destination.data(), kDestinationPitch), kLoopColumn,
        kLoopPixels, kLoopRows);
    EXPECT_EQ(destination, expected);
  }
}

TEST(TrueColourInstall, TheGamesPixelLoopsCopyTwoBytePixelsBeforeAndFourBytePixelsAfter) {
  standin::game::MapImage();
  // The first loop's step is also the mouse code's bytes-per-pixel cell, which the stand-in
  // keeps at 4 for tests without Start; the game's own value is 2.
  standin::game::SetBytesPerPixel(2);
  ExpectEveryPixelLoopCopies<uint16_t>();
  StartTrueColour({});
  ExpectEveryPixelLoopCopies<uint32_t>();
}

// --- Which routines answer afterwards --------------------------------------------------------

TEST(TrueColourInstall, EveryReplacedRoutineTakesTheGamesArgumentsAndTheGamesOwnNeverRuns) {
  StartTrueColour({});
  // Blank objects and zero arguments: every replacement then has nothing to draw.
  std::vector<uint8_t> object(0x2000, 0);
  for (const auto& routine : standin::game::kReplacedRoutines) {
    if (routine.address >= standin::game::kDrawFrame &&
        routine.address <= standin::game::kDrawFrameHalf) {
      continue;  // sprite routines need a palette; they are called with real frames elsewhere
    }
    SCOPED_TRACE(::testing::Message() << std::hex << routine.address);
    const std::vector<uint32_t> arguments(routine.stack_arguments, 0);
    standin::game::CallGameMethod(routine.address, object.data(), arguments);
  }
  EXPECT_TRUE(DrawingRuns().empty());
}

TEST(TrueColourInstall, WrappedRoutinesStillRunWithTheGamesArguments) {
  StartTrueColour({});
  using namespace standin::game;
  uint8_t object[64] = {};
  uint8_t video[64] = {};
  uint32_t buffer[16] = {};
  const uint32_t object_word = Word(object);
  const uint32_t video_word = Word(video);
  // The rectangle first: no video output has been asked for yet, so it keeps its place.
  PlaceVideoRectangle(object, 3, 4, 50, 60);
  SetColourFormat(0xF800, 0x07E0, 0x001F);
  SetColourMasks(object, 11, 22);
  RequestVideoOutput(video, 1, 2, 3200, 600, buffer, 0);
  DecodeVideoFrame(video);
  const std::vector<GameDrawingRun>& runs = DrawingRuns();
  ASSERT_EQ(runs.size(), 5u);
  EXPECT_EQ(runs[0].routine, kVideoRectangleSite);
  EXPECT_EQ(runs[0].ecx, object_word);
  EXPECT_EQ(runs[0].arguments, (std::vector<uint32_t>{3, 4, 50, 60}));
  EXPECT_EQ(runs[1].routine, kColourFormatRoutine);
  EXPECT_EQ(runs[1].ecx, 0xF800u);
  EXPECT_EQ(runs[1].edx, 0x07E0u);
  EXPECT_EQ(runs[1].arguments, std::vector<uint32_t>{0x001F});
  EXPECT_EQ(runs[2].routine, kColourMaskRoutine);
  EXPECT_EQ(runs[2].ecx, object_word);
  EXPECT_EQ(runs[2].arguments, (std::vector<uint32_t>{11, 22}));
  EXPECT_EQ(runs[3].routine, kVideoOutputSlot);
  ASSERT_EQ(runs[3].arguments.size(), 7u);
  EXPECT_EQ(runs[3].arguments[0], video_word);
  EXPECT_EQ(runs[4].routine, kVideoFrameSlot);
  EXPECT_EQ(runs[4].arguments, std::vector<uint32_t>{video_word});
}

// --- When nothing may be written -------------------------------------------------------------

// The game's code and import slots; the host modification keeps its own code above them.
constexpr uint32_t kGameCodeEnd = 0x680000;

void ExpectTheGamesOwnDrawFrameRuns() {
  uint8_t frame[0x48] = {};
  standin::game::ForgetDrawingRuns();
  standin::game::CallGameMethod(standin::game::kDrawFrame, frame, std::vector<uint32_t>(13, 0));
  ASSERT_EQ(DrawingRuns().size(), 1u);
  EXPECT_EQ(DrawingRuns()[0].routine, standin::game::kDrawFrame);
}

TEST(TrueColourInstall, WithoutThePatchingLibraryTheGameKeepsEveryByteAndItsOwnRoutines) {
  Settings settings;
  settings.splicer_present = false;
  standin::game::MapImage();
  const std::vector<uint8_t> before(Bytes(standin::game::kImageBase), Bytes(kGameCodeEnd));
  StartTrueColour(settings);
  EXPECT_EQ(std::memcmp(before.data(), Bytes(standin::game::kImageBase), before.size()), 0);
  ExpectTheGamesOwnDrawFrameRuns();
}

TEST(TrueColourInstall, AFailedInstanceLogsWritesNothingAndStartGoesOn) {
  qz::win32::ResetWorld();
  standin::host::Boot({});
  standin::splicer::RefuseInstance("QZ.True32");
  standin::host::CallStart();
  EXPECT_TRUE(
      standin::host::Logged("ERROR: FAIL TO CREATE QZ_True32 SplicerInstance, NO 32-BIT DRAWING"));
  EXPECT_EQ(standin::splicer::Value("QZ.BPP"), 32);
  EXPECT_TRUE(TrueColourWrites().empty());
  EXPECT_TRUE(TrueColourHooks().empty());
  ExpectTheGamesOwnDrawFrameRuns();
  const auto& instances = standin::splicer::Instances();
  EXPECT_NE(std::find(instances.begin(), instances.end(), "QZ.PRX"), instances.end());
}

}  // namespace
