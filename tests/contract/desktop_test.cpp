// What the desktop reports outside any one window: the screen size, the work area, the state of
// the filter keys, and the mouse position in screen and client coordinates (and its query failing).
#include <gtest/gtest.h>

#include "win32_contract.h"

namespace qz::contract {
namespace {

TEST(ContractDesktop, ScreenSizeIsWhatAPopUpCoveringTheScreenShows) {
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  ASSERT_GT(width, 0);
  ASSERT_GT(height, 0);
  const TestWindow window(kFullScreenStyle, WS_EX_TOPMOST, 0, 0, width, height);
  ASSERT_NE(window.handle(), nullptr);
  RECT client{};
  ASSERT_TRUE(GetClientRect(window.handle(), &client));
  EXPECT_EQ(client.right, width);
  EXPECT_EQ(client.bottom, height);
}

TEST(ContractDesktop, WorkAreaLiesOnTheScreen) {
  RECT area{-1, -1, -1, -1};
  ASSERT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0));
  EXPECT_GE(area.left, 0);
  EXPECT_GE(area.top, 0);
  EXPECT_LE(area.right, GetSystemMetrics(SM_CXSCREEN));
  EXPECT_LE(area.bottom, GetSystemMetrics(SM_CYSCREEN));
  EXPECT_GT(area.right - area.left, 0);
  EXPECT_GT(area.bottom - area.top, 0);
}

TEST(ContractDesktop, KeysNotHeldDownReadNonNegative) {
  for (const int key : {VK_CONTROL, VK_ADD, VK_SUBTRACT, VK_LCONTROL, VK_RCONTROL}) {
    EXPECT_GE(GetKeyState(key), 0) << key;
  }
}

TEST(ContractDesktop, CursorPositionFollowsSetCursorPosInScreenCoordinates) {
  for (const POINT where : {POINT{0, 0}, POINT{345, 210}, POINT{17, 600}}) {
    ASSERT_TRUE(SetCursorPos(where.x, where.y));
    POINT position{-1, -1};
    ASSERT_TRUE(GetCursorPos(&position));
    EXPECT_EQ(position.x, where.x);
    EXPECT_EQ(position.y, where.y);
  }
}

TEST(ContractDesktop, CursorPositionWithoutAPointFails) {
  EXPECT_FALSE(GetCursorPos(nullptr));
}

TEST(ContractDesktop, CursorCannotLeaveTheScreen) {
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  POINT position{};
  ASSERT_TRUE(SetCursorPos(-40, height + 300));
  ASSERT_TRUE(GetCursorPos(&position));
  EXPECT_EQ(position.x, 0);
  EXPECT_EQ(position.y, height - 1);
  ASSERT_TRUE(SetCursorPos(width + 5, -2));
  ASSERT_TRUE(GetCursorPos(&position));
  EXPECT_EQ(position.x, width - 1);
  EXPECT_EQ(position.y, 0);
}

// The cursor-position query: the screen position less the client origin on the screen.
TEST(ContractDesktop, CursorPositionLessTheClientOriginIsTheClientPosition) {
  const TestWindow window(kWindowedStyle, 0, 150, 130, 300, 200);
  ASSERT_NE(window.handle(), nullptr);
  for (const POINT inside : {POINT{0, 0}, POINT{299, 199}, POINT{120, 45}}) {
    POINT on_screen = inside;
    ASSERT_TRUE(ClientToScreen(window.handle(), &on_screen));
    ASSERT_TRUE(SetCursorPos(on_screen.x, on_screen.y));
    POINT position{};
    ASSERT_TRUE(GetCursorPos(&position));
    POINT origin{0, 0};
    ASSERT_TRUE(ClientToScreen(window.handle(), &origin));
    EXPECT_EQ(position.x - origin.x, inside.x);
    EXPECT_EQ(position.y - origin.y, inside.y);
    POINT back = position;
    ASSERT_TRUE(ScreenToClient(window.handle(), &back));
    EXPECT_EQ(back.x, inside.x);
    EXPECT_EQ(back.y, inside.y);
  }
}

}  // namespace
}  // namespace qz::contract
