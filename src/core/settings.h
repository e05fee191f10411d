#pragma once
// Process-wide settings, written at start-up and by the window handling on the game's main
// thread; the band workers only read them.
#include <cstdint>

namespace qz::core {

extern int32_t srcW;
extern int32_t srcH;
extern int32_t ScreenW;
extern int32_t ScreenH;
extern int32_t dstX;
extern int32_t dstY;
extern int32_t dstW;
extern int32_t dstH;
extern int32_t FilterIndex;
extern uint32_t SavedAffinityMask;
inline constexpr uint32_t WindowStyle = 0x10CF0000;

inline constexpr int32_t kFilterCount = 13;

// "QZ.Graphics.Nx.Filter" limited to the filter table.
int32_t FilterForSetting(int32_t requested);

}  // namespace qz::core
