// The system cursor and the game's window: a new window size rebuilds the cursors at the new
// scale, WM_SETCURSOR puts the game's cursor back, and the three guarded game routines see the
// default cursor as the sign that no game cursor is shown.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <vector>

#include "cursor_session.h"
#include "game/game_mouse.h"
#include "game/game_session.h"
#include "game/game_window.h"
#include "win32/win32_world.h"

namespace qz::testing {

// The game session moved to the game stand-in, where the demo uses it too.
using namespace standin::game;
namespace {

using standin::game::Mouse;
using standin::game::RequestCursor;

bool GameSaw(UINT message) {
  const auto& messages = standin::game::Record().messages;
  return std::find(messages.begin(), messages.end(), message) != messages.end();
}

// A cursor of the test's own, as another program part might set it.
HCURSOR ForeignCursor() {
  std::vector<uint32_t> pixels(16 * 16, 0xFF102030);
  HBITMAP colour = CreateBitmap(16, 16, 1, 32, pixels.data());
  HBITMAP mask = CreateBitmap(16, 16, 1, 1, nullptr);
  ICONINFO info{FALSE, 1, 1, mask, colour};
  HCURSOR cursor = CreateIconIndirect(&info);
  DeleteObject(colour);
  DeleteObject(mask);
  return cursor;
}

TEST(CursorWindow, ANewWindowSizeDestroysTheCachedCursorsAndRebuildsTheCurrentOne) {
  const HWND window = StartCursorGame({});
  // Nothing cached yet: the game's cursor state is left alone.
  standin::game::ResizeClient(window, 1000, 750);
  EXPECT_TRUE(Mouse().set_cursor_calls.empty());
  const size_t before = win32::LiveCursorCount();
  RequestCursor(0, 0);
  const HCURSOR first = GetCursor();
  RequestCursor(3, 0);
  RequestCursor(1, 2);
  const HCURSOR current = GetCursor();
  EXPECT_EQ(win32::LiveCursorCount(), before + 3);
  const int32_t released = Mouse().sprites_released;
  standin::game::ResizeClient(window, 1600, 1200);
  EXPECT_FALSE(ReadCursor(first).valid);
  EXPECT_FALSE(ReadCursor(current).valid);
  EXPECT_EQ(win32::LiveCursorCount(), before + 1);
  const CursorPicture rebuilt = ReadCursor(GetCursor());
  ASSERT_TRUE(rebuilt.valid);
  EXPECT_EQ(VisibleArea(rebuilt).right, 64);
  EXPECT_TRUE(ShowsFrameColour(rebuilt.At(32, 32), standin::game::SpriteFrameColour(1, 2)));
  EXPECT_EQ(Mouse().set_cursor_calls.back(), std::make_pair(2, 1));
  EXPECT_EQ(Mouse().sprites_released, released + 1);
  EXPECT_EQ(standin::game::TheMouseManager()->type, 1);
  EXPECT_EQ(standin::game::TheMouseManager()->frame, 2);
}

TEST(CursorWindow, SetCursorMessagesBeforeAnyGameCursorLeaveTheCursorAlone) {
  StartCursorGame({});
  const HCURSOR foreign = ForeignCursor();
  SetCursor(foreign);
  standin::game::SendToGameWindow(WM_SETCURSOR, 0, 0);
  EXPECT_EQ(GetCursor(), foreign);
  EXPECT_TRUE(GameSaw(WM_SETCURSOR));
  RequestCursor(2, 1);
  const HCURSOR shown = GetCursor();
  SetCursor(foreign);
  standin::game::SendToGameWindow(WM_SETCURSOR, 0, 0);
  EXPECT_EQ(GetCursor(), shown);
}

TEST(CursorWindow, GuardedRoutinesWhileAGameCursorIsShown) {
  StartCursorGame({});
  RequestCursor(0, 1);
  const HCURSOR shown = GetCursor();
  standin::game::RunIfDefaultRoutine(7);
  EXPECT_TRUE(Mouse().if_default_arguments.empty());
  standin::game::TheMouseManager()->mark = 5;
  standin::game::RunMarkRoutine();
  EXPECT_EQ(Mouse().marks_seen, std::vector<int32_t>{1});
  EXPECT_EQ(standin::game::TheMouseManager()->mark, 5);
  standin::game::RunUnderDefaultRoutine(3);
  ASSERT_EQ(Mouse().cursors_under_default.size(), 1u);
  EXPECT_NE(Mouse().cursors_under_default[0], shown);
  // The library's default cursor, kept through a WM_SETCURSOR while the routine runs.
  EXPECT_EQ(ReadCursor(Mouse().cursors_under_default[0]).At(0, 0), 0xFF000000u | 500u);
  EXPECT_EQ(GetCursor(), shown);
  // Afterwards the game's cursor is the current one again.
  SetCursor(nullptr);
  standin::game::SendToGameWindow(WM_SETCURSOR, 0, 0);
  EXPECT_EQ(GetCursor(), shown);
}

TEST(CursorWindow, GuardedRoutinesUnderTheDefaultCursor) {
  StartCursorGame({});
  win32::SetUserObjectQuota(win32::LiveCursorCount());
  RequestCursor(0, 1);  // fails: the default cursor is current
  const HCURSOR default_cursor = GetCursor();
  standin::game::RunIfDefaultRoutine(7);
  EXPECT_EQ(Mouse().if_default_arguments, std::vector<int32_t>{7});
  standin::game::TheMouseManager()->mark = 5;
  standin::game::RunMarkRoutine();
  EXPECT_EQ(Mouse().marks_seen, std::vector<int32_t>{5});
  standin::game::RunUnderDefaultRoutine(3);
  EXPECT_EQ(Mouse().cursors_under_default, std::vector<HCURSOR>{default_cursor});
}

}  // namespace
}  // namespace qz::testing
