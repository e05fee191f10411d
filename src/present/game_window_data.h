#pragma once
// The game's window data and routines that the window handling reads and calls, named once.
#include <windows.h>

#include <cstdint>

#include "core/game_call.h"

namespace qz::present::game {

inline constexpr uint32_t kWindowHandle = 0x699650;
inline constexpr uint32_t kFullScreenFlag = 0x698808;  // 1 full screen, 0 windowed
inline constexpr uint32_t kWindowedX = 0x698800;
inline constexpr uint32_t kWindowedY = 0x698804;
inline constexpr uint32_t kScreenManager = 0x6992D0;
inline constexpr uint32_t kStateWord = 0x6995E0;
// Painting waits until the game has set all five.
inline constexpr uint32_t kPaintPointers[] = {0x6AAD24, 0x6AAD28, 0x6AAD2C, 0x6AAD30, 0x6AAD34};

inline constexpr uint32_t kRedraw = 0x603190;
inline constexpr uint32_t kAfterModeChangeA = 0x4F8810;
inline constexpr uint32_t kAfterModeChangeB = 0x50C370;
inline constexpr uint32_t kShowGameMessage = 0x4F6C00;
inline constexpr uint32_t kThreadStart = 0x61A56C;
inline constexpr uint32_t kThreadEnd = 0x61A676;
// The screen manager's field that the filter message sets to -1.
inline constexpr int kMessageField = 56;

using core::Cell;

inline HWND Window() {
  return Cell<HWND>(kWindowHandle);
}
inline bool FullScreen() {
  return Cell<int32_t>(kFullScreenFlag) == 1;
}

// Redraws the whole frame when the game has a screen manager.
void Redraw();
void AfterModeChange();
// The game's message line: shows `text` as the game shows its own notices.
void ShowGameMessage(const char* text);
// Starts `routine` on a thread of the game's making; the routine ends through EndThread.
void StartThread(void(__cdecl* routine)(void*));
void EndThread();

}  // namespace qz::present::game
