// The switch of the game to 32-bit pixels as Start makes it: what the host is told, what is
// written into the game and in which order, and which routines of the game answer afterwards.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "game/game_calls.h"
#include "game/game_drawing.h"
#include "game/game_image.h"
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

bool IsSingleByte(const WriteRecord& write) {
  return write.bytes.size() == 1;
}

// Load through a register, test it, jump past the store when zero, store: each step followed by
// one no-operation, so a zero pixel is never written.
void ExpectZeroSkippingStore(const std::vector<uint8_t>& code) {
  ASSERT_GE(code.size(), 11u);
  const int loaded = code[1] >> 3 & 7;
  EXPECT_EQ(code[0], 0x8B);
  EXPECT_EQ(code[2], 0x90);
  EXPECT_EQ(code[3], 0x85);
  EXPECT_EQ(code[4], 0xC0 | loaded << 3 | loaded) << "tests what it loaded";
  EXPECT_EQ(code[5], 0x90);
  EXPECT_EQ(code[6], 0x74);
  EXPECT_GE(code[7], code.size() - 8) << "jumps at least past the store";
  EXPECT_EQ(code[code.size() - 3], 0x89);
  EXPECT_EQ(code[code.size() - 2] >> 3 & 7, loaded) << "stores what it loaded";
  EXPECT_EQ(code.back(), 0x90);
}

TEST(TrueColourInstall, RewritesFourteenPixelLoopsInOrderAndTheBytesLandInTheGame) {
  StartTrueColour({});
  const std::vector<WriteRecord> writes = TrueColourWrites();
  ASSERT_FALSE(writes.empty());
  for (const WriteRecord& write : writes) {
    EXPECT_EQ(std::memcmp(Bytes(write.address), write.bytes.data(), write.bytes.size()), 0)
        << std::hex << write.address;
  }
  ASSERT_TRUE(IsSingleByte(writes[0]));
  EXPECT_EQ(writes[0].bytes[0], 0x88);

  size_t next = 1;
  for (int group = 0; group < 14; ++group) {
    SCOPED_TRACE(group);
    const size_t first = next;
    while (next < writes.size() && IsSingleByte(writes[next])) ++next;
    ASSERT_LT(next, writes.size());
    const WriteRecord& code = writes[next];
    const uint32_t code_end = code.address + static_cast<uint32_t>(code.bytes.size());
    EXPECT_TRUE(next - first == 3 || next - first == 4) << next - first;
    for (size_t i = first; i < next; ++i) {
      EXPECT_LT(writes[i].address, code.address);
      EXPECT_LT(code.address - writes[i].address, 0x100u) << "a write of the same loop";
      if (i > first) {
        EXPECT_GT(writes[i].address, writes[i - 1].address);
      }
    }
    ExpectZeroSkippingStore(code.bytes);
    ASSERT_LE(next + 4, writes.size());
    for (size_t i = next + 1; i <= next + 3; ++i) {
      ASSERT_TRUE(IsSingleByte(writes[i]));
      EXPECT_GE(writes[i].address, code_end);
      EXPECT_LT(writes[i].address - code.address, 0x100u) << "a write of the same loop";
      if (i > next + 1) {
        EXPECT_GT(writes[i].address, writes[i - 1].address);
      }
    }
    EXPECT_EQ(writes[next + 1].bytes[0], 0x04) << "the loop steps 4 bytes a pixel";
    next += 4;
  }
  // Then 32 bits per pixel at six places of the game's set-up, and three more single bytes.
  ASSERT_EQ(writes.size() - next, 9u);
  for (size_t i = next; i < writes.size(); ++i) EXPECT_TRUE(IsSingleByte(writes[i]));
  for (size_t i = next; i < next + 6; ++i) EXPECT_EQ(writes[i].bytes[0], 32);
}

struct ExpectedHook {
  int32_t kind;
  bool wraps;  // mode 1 or 2; replacements take mode 0
  int32_t convention;
  int32_t count;
};

class TrueColourHookModes : public ::testing::TestWithParam<int32_t> {};

TEST_P(TrueColourHookModes, WrappersFollowBitZeroOfTheExeVersionAndReplacementsTakeModeZero) {
  Settings settings;
  settings.exe_version = GetParam();
  StartTrueColour(settings);
  const int32_t wrapper_mode = (GetParam() & 1) != 0 ? 1 : 2;
  // Two wrapped entries, three transitions, two video slots and a call, twenty-three routines.
  const ExpectedHook expected[] = {{1, true, 1, 1}, {1, true, 2, 1}, {1, false, 1, 3},
                                   {2, true, 0, 2}, {0, true, 1, 1}, {1, false, 1, 23}};
  const std::vector<HookRecord> hooks = TrueColourHooks();
  size_t at = 0;
  for (const ExpectedHook& run : expected) {
    for (int32_t i = 0; i < run.count; ++i, ++at) {
      ASSERT_LT(at, hooks.size());
      const HookRecord& hook = hooks[at];
      SCOPED_TRACE(::testing::Message() << std::hex << hook.address);
      EXPECT_EQ(hook.kind, run.kind);
      EXPECT_EQ(hook.mode, run.wraps ? wrapper_mode : 0);
      EXPECT_EQ(hook.convention, run.convention);
      EXPECT_TRUE(hook.active);
    }
  }
  EXPECT_EQ(at, hooks.size());
}

INSTANTIATE_TEST_SUITE_P(ExeVersions, TrueColourHookModes, ::testing::Values(0, 1, 2, 7, 0x100));

TEST(TrueColourInstall, ReplacesAndWrapsExactlyTheGamesDrawingRoutines) {
  StartTrueColour({});
  std::set<uint32_t> replaced;
  std::set<uint32_t> wrapped;
  for (const HookRecord& hook : TrueColourHooks()) {
    (hook.mode == 0 ? replaced : wrapped).insert(hook.address);
  }
  std::set<uint32_t> game_routines;
  for (const auto& routine : standin::game::kReplacedRoutines) {
    game_routines.insert(routine.address);
  }
  EXPECT_EQ(replaced, game_routines);
  using namespace standin::game;
  EXPECT_EQ(wrapped, (std::set<uint32_t>{kColourMaskRoutine, kColourFormatRoutine, kVideoOutputSlot,
                                         kVideoFrameSlot, kVideoRectangleSite}));
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
    EXPECT_EQ(standin::game::CallGameMethod(routine.address, object.data(), arguments), 0);
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
  EXPECT_EQ(PlaceVideoRectangle(object, 3, 4, 50, 60), 0);
  EXPECT_EQ(SetColourFormat(0xF800, 0x07E0, 0x001F), 0);
  EXPECT_EQ(SetColourMasks(object, 11, 22), 0);
  EXPECT_EQ(RequestVideoOutput(video, 1, 2, 3200, 600, buffer, 0), 0);
  EXPECT_EQ(DecodeVideoFrame(video), 0);
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
  EXPECT_EQ(
      standin::game::CallGameMethod(standin::game::kDrawFrame, frame, std::vector<uint32_t>(13, 0)),
      0);
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
