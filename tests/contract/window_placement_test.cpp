// The window styles and placement calls of the windowed and full-screen modes: the client area
// AdjustWindowRectEx promises, the order in which the mode switch changes position and styles,
// the top-most band, and client coordinates on the screen.
#include <gtest/gtest.h>

#include "win32_contract.h"

namespace qz::contract {
namespace {

constexpr int kFrameWidth = 320;
constexpr int kFrameHeight = 240;
constexpr int kLeft = 120;
constexpr int kTop = 90;

RECT ClientRect(HWND window) {
  RECT client{};
  EXPECT_TRUE(GetClientRect(window, &client));
  return client;
}

RECT WindowRect(HWND window) {
  RECT rect{};
  EXPECT_TRUE(GetWindowRect(window, &rect));
  return rect;
}

POINT ClientOrigin(HWND window) {
  POINT origin{0, 0};
  EXPECT_TRUE(ClientToScreen(window, &origin));
  return origin;
}

DWORD Style(HWND window) {
  return static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE));
}

DWORD ExStyle(HWND window) {
  return static_cast<DWORD>(GetWindowLongA(window, GWL_EXSTYLE));
}

TEST(ContractWindowPlacement, WindowedStyleGivesTheClientAreaAdjustWindowRectExPromised) {
  const TestWindow window(kWindowedStyle, 0, kLeft, kTop, kFrameWidth, kFrameHeight);
  ASSERT_NE(window.handle(), nullptr);
  RECT adjusted{kLeft, kTop, kLeft + kFrameWidth, kTop + kFrameHeight};
  ASSERT_TRUE(AdjustWindowRectEx(&adjusted, kWindowedStyle, FALSE, 0));
  const RECT rect = WindowRect(window.handle());
  EXPECT_EQ(rect.left, adjusted.left);
  EXPECT_EQ(rect.top, adjusted.top);
  EXPECT_EQ(rect.right, adjusted.right);
  EXPECT_EQ(rect.bottom, adjusted.bottom);
  const RECT client = ClientRect(window.handle());
  EXPECT_EQ(client.left, 0);
  EXPECT_EQ(client.top, 0);
  EXPECT_EQ(client.right, kFrameWidth);
  EXPECT_EQ(client.bottom, kFrameHeight);
  const POINT origin = ClientOrigin(window.handle());
  EXPECT_EQ(origin.x, kLeft);
  EXPECT_EQ(origin.y, kTop);
  EXPECT_EQ(Style(window.handle()) & kWindowedStyle, kWindowedStyle);
  EXPECT_EQ(ExStyle(window.handle()) & WS_EX_TOPMOST, 0u);
}

TEST(ContractWindowPlacement, AdjustWindowRectExGrowsEverySideAndAMenuAddsItsRow) {
  RECT plain{10, 20, 10 + kFrameWidth, 20 + kFrameHeight};
  RECT with_menu = plain;
  ASSERT_TRUE(AdjustWindowRectEx(&plain, kWindowedStyle, FALSE, 0));
  ASSERT_TRUE(AdjustWindowRectEx(&with_menu, kWindowedStyle, TRUE, 0));
  EXPECT_LT(plain.left, 10);
  EXPECT_LT(plain.top, 20);
  EXPECT_GT(plain.right, 10 + kFrameWidth);
  EXPECT_GT(plain.bottom, 20 + kFrameHeight);
  EXPECT_EQ(10 - plain.left, plain.right - (10 + kFrameWidth));  // the sides alike
  EXPECT_EQ(with_menu.left, plain.left);
  EXPECT_EQ(with_menu.right, plain.right);
  EXPECT_EQ(with_menu.bottom, plain.bottom);
  EXPECT_EQ(plain.top - with_menu.top, GetSystemMetrics(SM_CYMENU));
  // The full-screen style has no frame at all, top-most or not.
  for (const DWORD ex_style : {DWORD{0}, DWORD{WS_EX_TOPMOST}}) {
    RECT bare{0, 0, kFrameWidth, kFrameHeight};
    ASSERT_TRUE(AdjustWindowRectEx(&bare, kFullScreenStyle, FALSE, ex_style));
    EXPECT_EQ(bare.left, 0);
    EXPECT_EQ(bare.top, 0);
    EXPECT_EQ(bare.right, kFrameWidth);
    EXPECT_EQ(bare.bottom, kFrameHeight);
  }
}

TEST(ContractWindowPlacement, SetWindowPosMovesTheClientAreaWithTheWindow) {
  const TestWindow window(kWindowedStyle, 0, kLeft, kTop, kFrameWidth, kFrameHeight);
  ASSERT_NE(window.handle(), nullptr);
  const RECT before = WindowRect(window.handle());
  ASSERT_TRUE(SetWindowPos(window.handle(), nullptr, before.left + 33, before.top + 21, 0, 0,
                           SWP_NOSIZE | SWP_NOZORDER));
  const POINT origin = ClientOrigin(window.handle());
  EXPECT_EQ(origin.x, kLeft + 33);
  EXPECT_EQ(origin.y, kTop + 21);
  const RECT client = ClientRect(window.handle());
  EXPECT_EQ(client.right, kFrameWidth);
  EXPECT_EQ(client.bottom, kFrameHeight);
}

// The full-screen switch as the window handling makes it: show, cover the screen top-most, then
// the pop-up styles. The frame is measured when the size changes, so the client area is the
// screen less the old frame until SWP_FRAMECHANGED measures it again.
TEST(ContractWindowPlacement, FullScreenSwitchCoversTheScreenInTheTopMostBand) {
  const int screen_width = GetSystemMetrics(SM_CXSCREEN);
  const int screen_height = GetSystemMetrics(SM_CYSCREEN);
  const TestWindow window(kWindowedStyle, 0, kLeft, kTop, kFrameWidth, kFrameHeight);
  const HWND handle = window.handle();
  ASSERT_NE(handle, nullptr);
  RECT frame{0, 0, 0, 0};
  AdjustWindowRectEx(&frame, kWindowedStyle, FALSE, 0);

  ShowWindow(handle, SW_SHOWNORMAL);
  ASSERT_TRUE(SetWindowPos(handle, HWND_TOPMOST, 0, 0, screen_width, screen_height, 0));
  EXPECT_EQ(SetWindowLongA(handle, GWL_STYLE, static_cast<LONG>(kFullScreenStyle)) &
                static_cast<LONG>(kWindowedStyle),
            static_cast<LONG>(kWindowedStyle));
  SetWindowLongA(handle, GWL_EXSTYLE, WS_EX_TOPMOST);
  const RECT rect = WindowRect(handle);
  EXPECT_EQ(rect.left, 0);
  EXPECT_EQ(rect.top, 0);
  EXPECT_EQ(rect.right, screen_width);
  EXPECT_EQ(rect.bottom, screen_height);
  EXPECT_EQ(Style(handle) & ~static_cast<DWORD>(WS_CLIPSIBLINGS), kFullScreenStyle);
  EXPECT_NE(ExStyle(handle) & WS_EX_TOPMOST, 0u);
  RECT client = ClientRect(handle);
  EXPECT_EQ(client.right, screen_width - (frame.right - frame.left));
  EXPECT_EQ(client.bottom, screen_height - (frame.bottom - frame.top));

  // Placing it again at the same size leaves the old frame measure alone.
  ASSERT_TRUE(SetWindowPos(handle, HWND_TOPMOST, 0, 0, screen_width, screen_height, 0));
  client = ClientRect(handle);
  EXPECT_EQ(client.right, screen_width - (frame.right - frame.left));

  ASSERT_TRUE(
      SetWindowPos(handle, HWND_TOPMOST, 0, 0, screen_width, screen_height, SWP_FRAMECHANGED));
  client = ClientRect(handle);
  EXPECT_EQ(client.right, screen_width);
  EXPECT_EQ(client.bottom, screen_height);
  const POINT origin = ClientOrigin(handle);
  EXPECT_EQ(origin.x, 0);
  EXPECT_EQ(origin.y, 0);
}

// Back to the window: the size of AdjustWindowRectEx with the menu row, in the normal band, then
// the windowed styles. The resize measures the pop-up's (absent) frame.
TEST(ContractWindowPlacement, WindowedSwitchLeavesTheTopMostBandAndKeepsThePopUpMeasure) {
  const int screen_width = GetSystemMetrics(SM_CXSCREEN);
  const int screen_height = GetSystemMetrics(SM_CYSCREEN);
  const TestWindow window(kFullScreenStyle, WS_EX_TOPMOST, 0, 0, screen_width, screen_height);
  const HWND handle = window.handle();
  ASSERT_NE(handle, nullptr);
  EXPECT_NE(ExStyle(handle) & WS_EX_TOPMOST, 0u);

  RECT frame{0, 0, kFrameWidth, kFrameHeight};
  AdjustWindowRectEx(&frame, kWindowedStyle, TRUE, 0);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  ASSERT_TRUE(SetWindowPos(handle, HWND_NOTOPMOST, kLeft, kTop, width, height, 0));
  SetWindowLongA(handle, GWL_STYLE, static_cast<LONG>(kWindowedStyle));
  SetWindowLongA(handle, GWL_EXSTYLE, 0);
  EXPECT_EQ(ExStyle(handle) & WS_EX_TOPMOST, 0u);
  EXPECT_EQ(Style(handle) & kWindowedStyle, kWindowedStyle);
  const RECT rect = WindowRect(handle);
  EXPECT_EQ(rect.left, kLeft);
  EXPECT_EQ(rect.top, kTop);
  EXPECT_EQ(rect.right - rect.left, width);
  EXPECT_EQ(rect.bottom - rect.top, height);
  RECT client = ClientRect(handle);
  EXPECT_EQ(client.right, width);
  EXPECT_EQ(client.bottom, height);

  // Measured again, the frame of the windowed style without a menu leaves the menu row to the
  // client area.
  ASSERT_TRUE(SetWindowPos(handle, nullptr, 0, 0, 0, 0,
                           SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED));
  client = ClientRect(handle);
  EXPECT_EQ(client.right, kFrameWidth);
  EXPECT_EQ(client.bottom, kFrameHeight + GetSystemMetrics(SM_CYMENU));
}

TEST(ContractWindowPlacement, TopMostChangesOnlyThroughSetWindowPos) {
  const TestWindow window(kWindowedStyle, 0, kLeft, kTop, kFrameWidth, kFrameHeight);
  const HWND handle = window.handle();
  ASSERT_NE(handle, nullptr);
  SetWindowLongA(handle, GWL_EXSTYLE, WS_EX_TOPMOST);
  EXPECT_EQ(ExStyle(handle) & WS_EX_TOPMOST, 0u);
  SetWindowPos(handle, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  EXPECT_NE(ExStyle(handle) & WS_EX_TOPMOST, 0u);
  SetWindowLongA(handle, GWL_EXSTYLE, 0);
  EXPECT_NE(ExStyle(handle) & WS_EX_TOPMOST, 0u);
  SetWindowPos(handle, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  EXPECT_EQ(ExStyle(handle) & WS_EX_TOPMOST, 0u);
}

}  // namespace
}  // namespace qz::contract
