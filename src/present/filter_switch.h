#pragma once
// The player's filter cycling, and the game-side message that names the new filter.
#include <windows.h>

#include <atomic>
#include <cstdint>

namespace qz::present {

// Timers of quick switches still waiting, and whether the game should skip its next pass over
// the message line. Shared by the window thread, the timer threads and the game's loop.
extern std::atomic<int32_t> PendingTimers;
extern std::atomic<int32_t> SkipPending;

// The next or previous filter the player can use (filters that cannot run are passed over).
int32_t NextFilter(int32_t index, int32_t step);

// Puts FilterIndex in force: present routine, processor affinity, geometry, a redraw and the
// filter's name in the game.
void SwitchFilter(HWND window);

// Thread body: 1.5 s after a switch, the last of several quick switches raises SkipPending.
void __cdecl FilterMessageTimer(void*);

// Register hook in the game's loop: skips the game's code once after a filter message.
int32_t WINAPI SkipOnce(void* hook, uint32_t* context);

}  // namespace qz::present
