// The game's cursor requests as the player sees them: which picture the system cursor shows,
// what the game's own routines receive, what is cached and built, the cursors of the resource
// library before NT 6, and the default cursor when no cursor can be had.
#include <gtest/gtest.h>
#include <windows.h>

#include <utility>
#include <vector>

#include "cursor/cursor_cache.h"
#include "cursor_session.h"
#include "game/cursor_library.h"
#include "game/game_mouse.h"
#include "splicer/splicer_library.h"
#include "win32/win32_world.h"

namespace qz::testing {
namespace {

using standin::game::Mouse;
using standin::game::RequestCursor;
using standin::game::SpriteFrameColour;
using standin::game::StepCursorFrame;
using standin::game::TheMouseManager;
using standin::host::ResourceCursorColour;

bool ShowsFrame(HCURSOR cursor, int32_t type, int32_t frame) {
  const CursorPicture picture = ReadCursor(cursor);
  return picture.valid && ShowsFrameColour(picture.At(16, 16), SpriteFrameColour(type, frame));
}

bool ShowsResource(HCURSOR cursor, uint32_t colour) {
  const CursorPicture picture = ReadCursor(cursor);
  return picture.valid && picture.At(16, 16) == colour;
}

using Calls = std::vector<std::pair<int32_t, int32_t>>;

TEST(CursorRequests, ATypeAbove4ShowsType4AndIsCachedUnderTheAskedType) {
  StartCursorGame({});
  RequestCursor(7, 5);
  const HCURSOR shown = GetCursor();
  EXPECT_TRUE(ShowsFrame(shown, 4, 5));
  EXPECT_EQ(Mouse().set_cursor_calls, (Calls{{5, 4}}));
  EXPECT_EQ(Mouse().before_set_cursor_calls, 1);
  EXPECT_EQ(TheMouseManager()->type, 4);
  EXPECT_EQ(TheMouseManager()->frame, 5);
  CURSORINFO info{sizeof info, 0, nullptr, {}};
  GetCursorInfo(&info);
  EXPECT_EQ(info.flags & CURSOR_SHOWING, DWORD{CURSOR_SHOWING});
  // Asked again, the cursor comes from row 7; type 4 itself has a row of its own.
  RequestCursor(7, 5);
  EXPECT_EQ(GetCursor(), shown);
  EXPECT_EQ(Mouse().draws.size(), 1u);
  RequestCursor(4, 5);
  EXPECT_NE(GetCursor(), shown);
  EXPECT_TRUE(ShowsFrame(GetCursor(), 4, 5));
  EXPECT_EQ(Mouse().draws.size(), 2u);
}

TEST(CursorRequests, TheAnimatedTypeStartsAtFrame0AndStepsThroughTheGamesFrames) {
  StartCursorGame({});
  RequestCursor(3, 6);
  EXPECT_EQ(Mouse().set_cursor_calls, (Calls{{0, 3}}));
  EXPECT_EQ(TheMouseManager()->frame, 0);
  EXPECT_TRUE(ShowsFrame(GetCursor(), 3, 0));
  const HCURSOR first = GetCursor();
  StepCursorFrame(2);
  EXPECT_TRUE(ShowsFrame(GetCursor(), 3, 2));
  EXPECT_EQ(TheMouseManager()->frame, 2);
  const HCURSOR second = GetCursor();
  StepCursorFrame(0);
  StepCursorFrame(2);
  EXPECT_EQ(GetCursor(), second);
  StepCursorFrame(0);
  EXPECT_EQ(GetCursor(), first);
  EXPECT_EQ(Mouse().draws.size(), 2u);
  // The game's own frame routine runs only under the default cursor.
  EXPECT_TRUE(Mouse().set_frame_calls.empty());
  // Other types do not follow frame steps.
  RequestCursor(1, 0);
  const HCURSOR other = GetCursor();
  StepCursorFrame(3);
  EXPECT_EQ(GetCursor(), other);
  EXPECT_EQ(TheMouseManager()->frame, 0);
}

TEST(CursorRequests, BeforeNt6TheLibraryGivesTypes0To2UpToIdentifier399) {
  CursorGameSettings settings;
  settings.nt6 = false;
  StartCursorGame(settings);
  RequestCursor(0, 0);
  EXPECT_TRUE(ShowsResource(GetCursor(), ResourceCursorColour(100)));
  EXPECT_EQ(ReadCursor(GetCursor()).hot_x, uint32_t(standin::host::ResourceCursorHotX(100)));
  RequestCursor(1, 5);
  EXPECT_TRUE(ShowsResource(GetCursor(), ResourceCursorColour(205)));
  RequestCursor(2, 99);
  const HCURSOR last = GetCursor();
  EXPECT_TRUE(ShowsResource(last, ResourceCursorColour(399)));
  // Identifier 400 is not the library's: the last cursor stays, and that is no failure.
  RequestCursor(2, 100);
  EXPECT_EQ(GetCursor(), last);
  EXPECT_TRUE(Mouse().reset_arguments.empty());
  EXPECT_FALSE(standin::host::Logged("N_SetCursor : set sys cursor fail"));
  EXPECT_TRUE(Mouse().draws.empty());
}

TEST(CursorRequests, BeforeNt6TheAnimatedTypeShowsTheAnimatedCursorUntilItsFrameSteps) {
  CursorGameSettings settings;
  settings.nt6 = false;
  StartCursorGame(settings);
  RequestCursor(3, 4);
  EXPECT_TRUE(ShowsResource(GetCursor(), standin::host::AnimatedCursorColour(0)));
  EXPECT_EQ(Mouse().set_cursor_calls, (Calls{{0, 3}}));
  StepCursorFrame(1);
  const CursorPicture built = ReadCursor(GetCursor());
  ASSERT_TRUE(built.valid);
  EXPECT_EQ(built.width, 32);
  EXPECT_TRUE(ShowsFrameColour(built.At(16, 16), SpriteFrameColour(3, 1)));
  // Type 4 is built on the small canvas as well.
  RequestCursor(4, 2);
  EXPECT_TRUE(ShowsFrame(GetCursor(), 4, 2));
  EXPECT_EQ(Mouse().draws.size(), 2u);
}

TEST(CursorRequests, AFailedBuildShowsTheDefaultCursorAndResetsTheGamesCursor) {
  StartCursorGame({});
  win32::SetUserObjectQuota(win32::LiveCursorCount());
  RequestCursor(1, 2);
  EXPECT_TRUE(standin::host::Logged("N_SetCursor : set sys cursor fail"));
  EXPECT_TRUE(ShowsResource(GetCursor(), ResourceCursorColour(500)));
  EXPECT_EQ(Mouse().reset_arguments, std::vector<int32_t>{1});
  EXPECT_EQ(TheMouseManager()->type, -1);
  EXPECT_EQ(TheMouseManager()->frame, -1);
  // The sprite was given back and the game asked once more, loading it anew.
  EXPECT_EQ(Mouse().sprites_released, 1);
  EXPECT_EQ(Mouse().sprites_loaded, 2);
  EXPECT_EQ(Mouse().set_cursor_calls, (Calls{{2, 1}, {2, 1}}));
  EXPECT_NE(TheMouseManager()->sprite, nullptr);
  // The default cursor is current: frame steps reach the game's own routine.
  StepCursorFrame(4);
  EXPECT_EQ(Mouse().set_frame_calls, std::vector<int32_t>{4});
  // Nothing was cached: with room again the same request builds.
  win32::SetUserObjectQuota(win32::kDefaultObjectQuota);
  RequestCursor(1, 2);
  EXPECT_TRUE(ShowsFrame(GetCursor(), 1, 2));
  EXPECT_EQ(Mouse().draws.size(), 2u);
}

TEST(CursorRequests, BeforeNt6AMissingResourceShowsTheDefaultCursor) {
  CursorGameSettings settings;
  settings.nt6 = false;
  settings.left_out = {150};
  StartCursorGame(settings);
  RequestCursor(0, 49);
  EXPECT_TRUE(ShowsResource(GetCursor(), ResourceCursorColour(149)));
  RequestCursor(0, 50);
  EXPECT_TRUE(standin::host::Logged("N_SetCursor : set sys cursor fail"));
  EXPECT_TRUE(ShowsResource(GetCursor(), ResourceCursorColour(500)));
  EXPECT_EQ(Mouse().reset_arguments, std::vector<int32_t>{1});
}

TEST(CursorRequests, NegativeFramesObtainNothingAndShowTheLastCursorAgain) {
  StartCursorGame({});
  RequestCursor(0, -1);
  EXPECT_TRUE(standin::host::Logged("N_SetCursor : set sys cursor fail"));
  EXPECT_TRUE(ShowsResource(GetCursor(), ResourceCursorColour(500)));
  RequestCursor(0, 3);
  const HCURSOR shown = GetCursor();
  EXPECT_TRUE(ShowsFrame(shown, 0, 3));
  RequestCursor(1, -5);
  EXPECT_EQ(GetCursor(), shown);
  EXPECT_EQ(Mouse().reset_arguments.size(), 1u);
  EXPECT_EQ(Mouse().draws.size(), 1u);
}

TEST(CursorRequests, HotSpotsComeFromTheTableEntryOfTypeAndFrame) {
  StartCursorGame({});
  NumberHotSpots();
  struct Case {
    int32_t exe_version;
    int32_t artifacts;
    uint8_t shift;
    int32_t type;
    int32_t frame;
    int32_t entry;
  };
  const Case cases[] = {
      {0, 0, 1, 2, 3, 2 * 18 + 3},    // stride 9 << 1
      {0, 0, 2, 2, 4, 2 * 36 + 4},    // stride 9 << 2
      {8, 50, 1, 2, 5, 2 * 50 + 5},   // the artifact count as the stride
      {8, 0, 1, 2, 6, 2 * 18 + 6},    // ... unless it is 0
      {0, 50, 1, 2, 7, 2 * 18 + 7},   // ... or the version's bit 3 is clear
      {0, 0, 1, 4, 17, 4 * 18 + 17},  // the last entry of type 4
      {0, 0, 1, 4, 18, 4 * 18},       // beyond it: the first entry of type 4
      {0, 0, 1, 4, 40, 4 * 18},
  };
  for (const Case& test : cases) {
    standin::splicer::Publish("QZ.ExeVersion", test.exe_version);
    standin::splicer::Publish("Tarn.ArtifactsCount", test.artifacts);
    standin::game::SetHotSpotShift(test.shift);
    RequestCursor(test.type, test.frame);
    EXPECT_EQ(HotSpotNumber(ReadCursor(GetCursor())), test.entry) << test.frame;
  }
}

TEST(CursorCacheTable, GrowsToTheIndexInStepsAndKeepsWhatItHeld) {
  cursor::CursorCache cache;
  HCURSOR* slot = cursor::CacheSlot(cache, 7, 2500);
  ASSERT_NE(slot, nullptr);
  EXPECT_EQ(*slot, nullptr);
  EXPECT_EQ(cache.length, 8u);
  EXPECT_EQ(cache.capacity, 10u);
  EXPECT_EQ(cache.rows[7].length, 2501u);
  EXPECT_EQ(cache.rows[7].capacity, 3000u);
  EXPECT_EQ(cache.rows[6].length, 0u);
  const auto marked = reinterpret_cast<HCURSOR>(uintptr_t{0x1234});
  *cursor::CacheSlot(cache, 7, 5) = marked;
  *cursor::CacheSlot(cache, 2, 0) = marked;
  ASSERT_NE(cursor::CacheSlot(cache, 11, 3000), nullptr);
  EXPECT_EQ(cache.capacity, 15u);
  ASSERT_NE(cursor::CacheSlot(cache, 7, 3000), nullptr);
  EXPECT_EQ(cache.rows[7].capacity, 4000u);
  EXPECT_EQ(*cursor::CacheSlot(cache, 7, 5), marked);
  EXPECT_EQ(*cursor::CacheSlot(cache, 2, 0), marked);
  EXPECT_EQ(cache.rows[7].length, 3001u);
  EXPECT_EQ(cursor::DestroyCachedCursors(cache), 2);
  EXPECT_EQ(*cursor::CacheSlot(cache, 7, 5), nullptr);
}

}  // namespace
}  // namespace qz::testing
